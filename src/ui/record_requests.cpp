#include "ui/record_requests.h"

#include "data/message_service.h"

namespace saldora::ui {

bool sameValues(const store::Record& a, const store::Record& b) { return a.values() == b.values(); }

SaveOutcome saveRecord(DataFile& file, Request request, store::Record& buffer,
                       const store::Record& copy,
                       const std::function<std::string(const std::string&)>& keyDescription) {
    if (request == Request::Insert) {
        Status added = file.db().add(buffer);
        if (added) return SaveOutcome::Completed;
        const Error& e = added.error();
        if (e.code == store::errc::DuplicateKey) {
            std::string key = e.text.substr(e.text.find(": ") == std::string::npos
                                                ? e.text.size()
                                                : e.text.find(": ") + 2);
            FileWarning(warning::DuplicateKey, keyDescription ? keyDescription(key) : key);
        } else {
            FileWarning(warning::AddError, file.name(), {}, &e);
        }
        return SaveOutcome::Stay;
    }
    if (request != Request::Change) return SaveOutcome::Completed;
    if (sameValues(buffer, copy)) return SaveOutcome::Completed;
    for (;;) {
        switch (UpdateRecord(file, buffer, true)) {
        case update_result::Written: return SaveOutcome::Completed;
        case update_result::ChangedByAnotherStation: return SaveOutcome::ShowStored;
        default: break;
        }
        switch (FileWarning(warning::UpdateRetry)) {
        case button::Yes: continue;
        case button::No: return SaveOutcome::Closed;
        default: return SaveOutcome::Stay;
        }
    }
}

bool confirmAndDelete(DataFile& file, const store::Record& record) {
    if (FileWarning(warning::ConfirmDelete) != button::Ok) return false;
    while (DeleteRecord(file, record) != 0)
        if (FileWarning(warning::DeleteRetry) != button::Yes) return false;
    return true;
}

} // namespace saldora::ui
