#include "messages/message_files.h"

#include "data/file_names.h"
#include "data/files.h"
#include "data/text.h"

namespace saldora::message_box {
namespace {

using store::Cursor;
using store::Database;

Result<std::unique_ptr<Database>> openFile(const std::string& path,
                                           const store::FileLayout& layout) {
    return Database::open(path, layout, Database::Create::IfMissing);
}

// The number of the text, adding it when it is not there yet.
Result<int32_t> messageNumber(Database& db, const std::string& text) {
    const store::Table& table = files::Messages::table();
    store::Transaction transaction(db);
    if (!transaction.status()) return transaction.status().error();

    Cursor byText(db, table, *table.key("NMF:XMESSAGE"));
    byText.seekAtOrAfter({text});
    auto found = byText.next();
    if (!found) return found.error();
    if (*found) {
        auto known = fromRecord<files::Messages>(**found);
        if (cp1252::compareNoCase(known.message, text) == 0) return known.messageid;
    }

    Cursor byNumber(db, table, *table.key("NMF:XMESSAGEID"));
    byNumber.seekLast();
    auto last = byNumber.previous();
    if (!last) return last.error();
    files::Messages added;
    added.messageid = *last ? fromRecord<files::Messages>(**last).messageid + 1 : 1;
    added.message = text;
    auto record = toRecord(added);
    if (!record) return record.error();
    if (Status s = db.add(*record); !s) return s.error();
    if (Status s = transaction.commit(); !s) return s.error();
    return added.messageid;
}

Status countAnswer(Database& db, int32_t user, int32_t number) {
    const store::Table& table = files::MesContr::table();
    store::Transaction transaction(db);
    if (!transaction.status()) return transaction.status();

    Cursor byUser(db, table, *table.key("NMC:XUSERID_MESSAGEID"));
    byUser.seekAtOrAfter({int64_t{user}, int64_t{number}});
    auto found = byUser.next();
    if (!found) return found.error();
    files::MesContr counter;
    if (*found) counter = fromRecord<files::MesContr>(**found);
    const bool known = *found && counter.userid == user && counter.messageid == number;
    if (known) {
        ++counter.ranking;
    } else {
        counter = files::MesContr{};
        counter.userid = user;
        counter.messageid = number;
        counter.ranking = 1;
    }
    auto record = toRecord(counter);
    if (!record) return record.error();
    if (Status s = known ? db.put(*record) : db.add(*record); !s) return s;
    return transaction.commit();
}

} // namespace

MessageFilePaths messageFilesIn(std::string_view folder, std::string_view messagesName,
                                std::string_view mesContrName) {
    auto in = [&](std::string_view name) {
        return file_names::resolveIn(folder, store::withDefaultExtension(std::string(name)));
    };
    return {in(messagesName), in(mesContrName)};
}

Status recordMessage(const MessageFilePaths& paths, std::string_view text, int32_t user) {
    auto encoded = cp1252::fromUtf8(text);
    if (!encoded) return encoded.error();
    const std::string stored = fixed::fit(*encoded, 200);

    auto messages = openFile(paths.messages, files::layouts::messages());
    if (!messages) return messages.error();
    auto number = messageNumber(**messages, stored);
    if (!number) return number.error();

    auto mesContr = openFile(paths.mesContr, files::layouts::mesContr());
    if (!mesContr) return mesContr.error();
    return countAnswer(**mesContr, user, *number);
}

} // namespace saldora::message_box
