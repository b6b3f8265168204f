#pragma once
// Comma-separated text: fields quoted with '"' when they hold a comma, a quote, a line break or
// leading/trailing blanks; quotes doubled inside. The reader takes both LF and CR LF line ends.
#include "data/result.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace saldora::csv {

std::string field(std::string_view value);
std::string line(const std::vector<std::string>& fields); // without the line end

class Reader {
public:
    explicit Reader(std::istream& in) : in_(in) {}
    // The next record; false at the end. A record may span lines inside quotes.
    Result<bool> next(std::vector<std::string>& fields);
    int line() const { return line_; } // first line of the record last read, from 1

private:
    std::istream& in_;
    int line_ = 0;
    int nextLine_ = 1;
};

} // namespace saldora::csv
