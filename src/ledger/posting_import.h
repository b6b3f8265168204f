#pragma once
// Postings received in bulk (a bank's statement, another system's export), posted row by row as
// a user posts them through the posting criteria and the posting browse: the same checks and the
// same balance operations after each posting. Refused rows are reported with their line numbers;
// accepted rows stay posted.
#include "data/file_routines.h"

#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace saldora::ledger {

// The files a posting needs, open.
struct PostingFiles {
    DataFile& cadfil1;
    DataFile& tabmov1;
    DataFile& cadmov1;
};

// One posting as typed: client code, date, account code, complement and the two amounts (cp1252).
struct PostingRow {
    std::string client;
    int32_t date = 0;
    std::string account, complement;
    Decimal credit, debit;
};

// Posts one row; empty when posted, otherwise why not (UTF-8).
std::optional<std::string> postRow(const PostingFiles& files, const PostingRow& row);

struct ImportReport {
    int posted = 0;
    std::vector<std::pair<int, std::string>> refused; // line number, reason
};

// Comma-separated rows: client, date (dd/mm/aaaa), account, complement, credit, debit; amounts
// as "1.234,56" (then quoted) or "1234.56", blank for zero. A first line without digits in its
// date column is a header.
ImportReport importPostings(const PostingFiles& files, std::istream& csv);

} // namespace saldora::ledger
