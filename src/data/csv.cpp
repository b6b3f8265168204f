#include "data/csv.h"

namespace saldora::csv {

std::string field(std::string_view v) {
    bool quote = v.find_first_of(",\"\r\n") != std::string_view::npos ||
                 (!v.empty() && (v.front() == ' ' || v.back() == ' '));
    if (!quote) return std::string(v);
    std::string out = "\"";
    for (char c : v) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string line(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += field(fields[i]);
    }
    return out;
}

Result<bool> Reader::next(std::vector<std::string>& fields) {
    fields.clear();
    line_ = nextLine_;
    std::string current;
    bool quoted = false, any = false, afterQuote = false;
    int c;
    while ((c = in_.get()) != EOF) {
        any = true;
        if (quoted) {
            if (c == '"') {
                if (in_.peek() == '"') {
                    current += static_cast<char>(in_.get());
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == '\n') ++nextLine_;
                current += static_cast<char>(c);
            }
            continue;
        }
        if (c == ',') {
            fields.push_back(std::move(current));
            current.clear();
            afterQuote = false;
        } else if (c == '\r' && in_.peek() == '\n') {
            continue;
        } else if (c == '\n') {
            ++nextLine_;
            fields.push_back(std::move(current));
            return true;
        } else if (c == '"' && current.empty() && !afterQuote) {
            quoted = true;
        } else if (afterQuote) {
            return Error{1, "Linha " + std::to_string(line_) + ": texto após aspas de fechamento."};
        } else {
            current += static_cast<char>(c);
        }
    }
    if (quoted) return Error{1, "Linha " + std::to_string(line_) + ": aspas sem fechamento."};
    if (!any) return false;
    fields.push_back(std::move(current));
    return true;
}

} // namespace saldora::csv
