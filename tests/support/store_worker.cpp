// A second station for tests: a separate process working on a data folder.
//   store_worker put <folder> <position> <complemento>   change one posting's complement
//   store_worker crash-loop <folder> <first-value>        add and change postings until killed,
//                                                         printing each committed write
//   store_worker set <folder> <file> <position> <field> <value>   change one field of a record
//                                                         (the value as plain text: "90.00")
#include "data/file_routines.h"
#include "data/field_text.h"
#include "data/files.h"
#include "data/text.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

using namespace saldora;
using files::Cadmov1;

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string cmd = argv[1];
    if (cmd == "set" && argc == 7) {
        const auto* layout = files::layouts::find(argv[3]);
        if (!layout) return 2;
        DataFile any(*layout);
        any.setLocation(argv[2]);
        OpenDataFile(any);
        const auto& table = layout->table();
        auto r = any.db().get(table, std::atoll(argv[4]));
        if (!r) return 1;
        const int field = table.fieldIndex(argv[5]);
        if (field < 0) return 2;
        auto value = store::fromPlainText(table.fields[field], argv[6]);
        if (!value || !r->set(field, *value)) return 1;
        return UpdateRecord(any, *r, false);
    }
    DataFile file(files::layouts::cadmov1());
    file.setLocation(argv[2]);
    OpenDataFile(file);

    if (cmd == "put" && argc == 5) {
        auto r = file.db().get(Cadmov1::table(), std::atoll(argv[3]));
        if (!r) return 1;
        Cadmov1 m = fromRecord<Cadmov1>(*r);
        m.complemento = argv[4];
        return UpdateRecord(file, m, false);
    }
    if (cmd == "crash-loop" && argc == 4) {
        int64_t value = std::atoll(argv[3]);
        std::mt19937 random(static_cast<unsigned>(value));
        std::vector<int64_t> positions;
        for (;;) {
            Cadmov1 m;
            m.codfil = "C" + std::to_string(random() % 50);
            m.dtalanc = 81000 + static_cast<int32_t>(random() % 100);
            m.codmov = "001";
            m.vlrcr = Decimal::fromCents(value);
            auto r = *toRecord(m);
            if (!file.db().add(r)) return 1; // one statement: its own transaction
            std::printf("add %lld %lld\n", (long long)r.position, (long long)value);
            std::fflush(stdout);
            positions.push_back(r.position);
            ++value;

            auto stored = file.db().get(Cadmov1::table(), positions[random() % positions.size()]);
            if (!stored) return 1;
            Cadmov1 change = fromRecord<Cadmov1>(*stored);
            change.vlrcr = Decimal::fromCents(value);
            if (UpdateRecord(file, change, false) != update_result::Written) return 1;
            std::printf("put %lld %lld\n", (long long)change.position, (long long)value);
            std::fflush(stdout);
            ++value;
        }
    }
    return 2;
}
