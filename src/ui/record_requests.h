#pragma once
// The writes of a record form and the delete of a browse, as every register does them: the
// standard warnings, the retries the user asks for, and what the form does next.
#include "data/file_routines.h"

#include <functional>
#include <string>

namespace saldora::ui {

enum class Request { Insert, Change, Delete, View, Select };

enum class SaveOutcome {
    Completed,  // written (or nothing to write): answer completed and close
    Stay,       // stay in the form (the user corrects it or tries again)
    ShowStored, // another station changed the record: the buffer holds its version; stay
    Closed,     // the user gave up: close without writing
};

// Insert: adds the record; a duplicate key shows warning 24 naming the key's description (from
// `keyDescription`, by key name), any other failure warning 14. Change: nothing is written when
// the record equals the copy taken at opening; otherwise UpdateRecord from the form, warning 16
// on a failure (Yes retries, No closes, Cancel stays).
SaveOutcome saveRecord(DataFile& file, Request request, store::Record& buffer,
                       const store::Record& copyAtOpening,
                       const std::function<std::string(const std::string& keyName)>& keyDescription);

// Warning 32; on OK the record is deleted, with warning 18 on a failure (Yes tries again, No and
// Cancel give up). True when the record was deleted.
bool confirmAndDelete(DataFile& file, const store::Record& record);

// Whether two records hold the same values.
bool sameValues(const store::Record& a, const store::Record& b);

} // namespace saldora::ui
