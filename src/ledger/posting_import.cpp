#include "ledger/posting_import.h"

#include "data/csv.h"
#include "data/picture.h"
#include "data/text.h"
#include "ledger/posting_day.h"
#include "ledger/postings.h"

#include <algorithm>

namespace saldora::ledger {
namespace {

std::string utf8(const std::string& cp1252Text) { return cp1252::toUtf8(fixed::clip(cp1252Text)); }

// "|" starts a new line in a message; a report keeps it on one.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '|', ' ');
    return text;
}

Result<Decimal> readAmount(const std::string& text) {
    std::string t(fixed::clip(text));
    t.erase(0, t.find_first_not_of(' '));
    if (t.empty()) return Decimal{};
    if (t.find(',') != std::string::npos) return picture::read<Decimal>(*picture::parse("@n-14.`2"), t);
    return Decimal::parse(t);
}

// A row of the file as typed, or why it cannot be read.
Result<PostingRow> readRow(const std::vector<std::string>& fields) {
    if (fields.size() != 6)
        return Error{0, std::to_string(fields.size()) +
                            " campos; esperados 6 (cliente, data, conta, complemento, crédito, "
                            "débito)."};
    std::vector<std::string> text;
    for (const auto& f : fields) {
        auto c = cp1252::fromUtf8(f);
        if (!c) return c.error();
        text.push_back(*c);
    }
    PostingRow row;
    row.client = std::string(fixed::clip(text[0]));
    if (row.client.size() > 15) return Error{0, "Código do cliente com mais de 15 caracteres."};
    auto day = picture::readPlain("@d06", fixed::clip(text[1]));
    if (!day || day->empty() || *day == "0") return Error{0, "Data inválida: " + fields[1] + "."};
    row.date = std::stoi(*day);
    row.account = std::string(fixed::clip(text[2]));
    if (row.account.size() > 3) return Error{0, "Código da conta com mais de 3 caracteres."};
    row.complement = std::string(fixed::clip(text[3]));
    if (row.complement.size() > 20) return Error{0, "Complemento com mais de 20 caracteres."};
    auto credit = readAmount(text[4]);
    if (!credit) return Error{0, "Crédito inválido: " + fields[4] + "."};
    auto debit = readAmount(text[5]);
    if (!debit) return Error{0, "Débito inválido: " + fields[5] + "."};
    row.credit = *credit;
    row.debit = *debit;
    return row;
}

bool isHeader(const std::vector<std::string>& fields) {
    return fields.size() > 1 && fields[1].find_first_of("0123456789") == std::string::npos;
}

} // namespace

std::optional<std::string> postRow(const PostingFiles& f, const PostingRow& row) {
    // The posting criteria: the client entry takes codes in upper case; the code must be on file.
    const std::string cliente1 = cp1252::upper(row.client);
    auto client = findClient(f.cadfil1.db(), cliente1);
    if (!client) return client.error().text;
    if (!*client) return "Filial/Cliente não cadastrado: " + utf8(cliente1) + ".";

    // The posting browse opens on the client and date.
    PostingDay day(f.cadmov1, cliente1, row.date);
    PostingDay::Step opened = day.open();
    switch (opened.outcome) {
    case PostingDay::Outcome::Open: break;
    case PostingDay::Outcome::LaterPosting: return oneLine(laterPostingMessage(opened.laterDate).text);
    case PostingDay::Outcome::ReadFailed: return "Erro lendo CADMOV1: " + opened.error.text;
    case PostingDay::Outcome::Closed: return "O saldo do dia não pôde ser excluído.";
    }

    // The posting form: an account on file, the entry its kind allows, one amount at least.
    files::Cadmov1 posting = newPosting(cliente1, row.date);
    auto account = findAccount(f.tabmov1.db(), row.account);
    if (!account) return account.error().text;
    if (!*account) return "Conta não cadastrada: " + utf8(row.account) + ".";
    const std::string kind(fixed::clip((*account)->crdb));
    if (kind == "+" && !row.debit.isZero())
        return "A conta " + utf8(row.account) + " é de crédito: o débito não pode ser informado.";
    if (kind == "-" && !row.credit.isZero())
        return "A conta " + utf8(row.account) + " é de débito: o crédito não pode ser informado.";
    posting.codmov = (*account)->codmov;
    posting.complemento = row.complement;
    posting.vlrcr = row.credit;
    posting.vlrdb = row.debit;
    if (!hasAmount(posting)) return noAmountMessage().text;
    auto record = toRecord(posting);
    if (!record) return record.error().text;
    if (Status added = addPosting(f.cadmov1, *record); !added)
        return "Erro de inclusão: " + added.error().text;

    // Back in the browse: the day balance follows the postings on file.
    PostingDay::Step refreshed = day.refresh();
    if (refreshed.outcome == PostingDay::Outcome::ReadFailed)
        return "Lançamento incluído, mas o saldo do dia não pôde ser lido: " + refreshed.error.text;
    return std::nullopt;
}

ImportReport importPostings(const PostingFiles& files, std::istream& in) {
    ImportReport report;
    csv::Reader reader(in);
    std::vector<std::string> fields;
    for (bool first = true;; first = false) {
        auto more = reader.next(fields);
        if (!more) {
            report.refused.emplace_back(reader.line(), more.error().text);
            break;
        }
        if (!*more) break;
        if (fields.size() == 1 && fields[0].empty()) continue; // a blank line
        if (first && isHeader(fields)) continue;
        auto row = readRow(fields);
        if (!row) {
            report.refused.emplace_back(reader.line(), row.error().text);
            continue;
        }
        if (auto refused = postRow(files, *row)) report.refused.emplace_back(reader.line(), *refused);
        else ++report.posted;
    }
    return report;
}

} // namespace saldora::ledger
