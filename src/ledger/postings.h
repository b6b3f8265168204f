#pragma once
// The rules of one posting, shared by the posting form and the data tool's import: the record an
// insert starts from, the account and client it must name, the amounts it must carry, and the
// add itself.
#include "data/file_routines.h"
#include "data/files.h"

#include <optional>
#include <string>

namespace saldora::ledger {

// A new posting of Cliente1 on Data1: the client code in upper case (its first 15 characters).
files::Cadmov1 newPosting(const std::string& cliente1, int32_t data1);

// At least one of the two amounts is not zero.
bool hasAmount(const files::Cadmov1& posting);
// The refusal of a posting without amounts.
Message noAmountMessage();

// The account of a code (TAB1:KEY_TABMOV) and the client of a code (FIL1:KEY_CADFIL, its first
// 15 characters); empty when not on file.
Result<std::optional<files::Tabmov1>> findAccount(store::Database& tabmov1, const std::string& code);
Result<std::optional<files::Cadfil1>> findClient(store::Database& cadfil1, const std::string& code);

// Adds the posting to CADMOV1 in one transaction; its position and version are set.
Status addPosting(DataFile& cadmov1, store::Record& posting);

} // namespace saldora::ledger
