#pragma once
// The three routines through which every screen opens a data file, writes a record back and
// deletes one, and the numbered standard warnings they (and the screens) show. Failures are
// reported here, through the message service; the routines return plain result codes.
#include "data/message_service.h"
#include "data/record_binding.h"
#include "data/store.h"

#include <memory>
#include <string>

namespace saldora {

// A data file as the program sees it: its layout, its full path (set by the data path manager)
// and, while some screen uses it, its open connection.
class DataFile {
public:
    explicit DataFile(const store::FileLayout& layout);
    ~DataFile();

    const store::FileLayout& layout() const { return layout_; }
    const std::string& name() const { return layout_.name; } // as the warnings name it
    // Folder and name; a name without an extension gets the store's default one. The name is
    // resolved without regard to case when the file is opened.
    void setLocation(const std::string& folder, const std::string& physicalName = {});
    const std::string& path() const { return path_; }

    bool isOpen() const { return db_ != nullptr; }
    store::Database& db() { return *db_; }

private:
    friend void OpenDataFile(DataFile&);
    friend void CloseDataFile(DataFile&);
    const store::FileLayout& layout_;
    std::string path_;
    int users_ = 0;
    std::unique_ptr<store::Database> db_;
};

// Opens the file for shared use, creating it (encrypted where its layout says so) when missing.
// Each call must be matched by a CloseDataFile. On an unrecoverable error the program ends
// through the halt procedure, after the standard warning.
void OpenDataFile(DataFile& file);
void CloseDataFile(DataFile& file);

// UpdateRecord results.
namespace update_result {
constexpr int Written = 0;
constexpr int Failed = 1;
constexpr int ChangedByAnotherStation = 2;
} // namespace update_result

// Writes the buffer over the stored record it was read from, in one transaction. On 2 the
// buffer holds the other station's version.
int UpdateRecord(DataFile& file, store::Record& buffer, bool fromForm);
// Deletes the record the buffer was read from, in one transaction: 0 deleted, 1 failed.
int DeleteRecord(DataFile& file, const store::Record& buffer);

template <class R> int UpdateRecord(DataFile& file, R& buffer, bool fromForm);
template <class R> int DeleteRecord(DataFile& file, const R& buffer);

// Standard warnings. `name` is a file name, a key's description or a text; `operation` a word
// such as "Update" or "Delete"; `kept` the error that led to the warning (shown as
// "text (number)"). Returns the button pressed; the kinds that end the program do not return.
namespace warning {
constexpr int InvalidFile = 1, InvalidKey = 2, KeyRebuildError = 3, CreateError = 4,
              CreatedOpenError = 5, AddError = 14, UpdateOperationError = 15,
              UpdateRetry = 16, DeleteOperationError = 17, DeleteRetry = 18,
              InvalidRequest = 21, AbandonChange = 23, DuplicateKey = 24, AutoIncrement = 25,
              FileAccess = 30, PutOrDelete = 31, ConfirmDelete = 32, SaveChanges = 33,
              Transaction = 34, RecordAccess = 35, ViewOpen = 36, ChangedElsewhere = 38;
}
int FileWarning(int kind, const std::string& name = {}, const std::string& operation = {},
                const Error* kept = nullptr);
// The message a warning shows, without showing it (for tests and the data tool).
Message warningMessage(int kind, const std::string& name = {}, const std::string& operation = {},
                       const Error* kept = nullptr);

// ---------------------------------------------------------------------------------------------

template <class R> int UpdateRecord(DataFile& file, R& buffer, bool fromForm) {
    auto record = toRecord(buffer);
    if (!record) {
        FileWarning(warning::UpdateOperationError, file.name(), "Update", &record.error());
        return update_result::Failed;
    }
    int result = UpdateRecord(file, *record, fromForm);
    if (result != update_result::Failed) buffer = fromRecord<R>(*record);
    return result;
}

template <class R> int DeleteRecord(DataFile& file, const R& buffer) {
    store::Record r(R::table());
    r.position = buffer.position;
    r.version = buffer.version;
    return DeleteRecord(file, r);
}

} // namespace saldora
