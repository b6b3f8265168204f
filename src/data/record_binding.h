#pragma once
// Typed records: a plain struct per file whose members are bound, in field order, to the fields
// of its table. Code over one file works with the struct; the generic parts (export, field
// history, list columns) work with store::Record and field names. Both meet here.
#include "data/decimal.h"
#include "data/store.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace saldora {

// Where a typed record came from in its file: position and version of the stored record.
struct StoredRecord {
    int64_t position = 0;
    int64_t version = 0;
};

template <class R>
using Member = std::variant<std::string R::*, int32_t R::*, int16_t R::*, uint8_t R::*,
                            uint32_t R::*, double R::*, Decimal R::*>;

// A typed record R provides:
//   static const store::Table& table();
//   static const std::vector<Member<R>>& members();   // one per field, in field order
// Fails, naming the field, when a value does not fit its field (a DECIMAL(5,2) of 1000,00, a BYTE
// of 300): nothing is silently stored in its place.
template <class R> Result<store::Record> toRecord(const R& typed) {
    const store::Table& t = R::table();
    store::Record r(t);
    r.position = typed.position;
    r.version = typed.version;
    const auto& members = R::members();
    for (size_t i = 0; i < members.size(); ++i) {
        store::Value v = std::visit(
            [&](auto m) -> store::Value {
                using T = std::remove_cvref_t<decltype(typed.*m)>;
                if constexpr (std::is_same_v<T, std::string>) return typed.*m;
                else if constexpr (std::is_same_v<T, double>) return typed.*m;
                else if constexpr (std::is_same_v<T, Decimal>) return (typed.*m).cents();
                else return static_cast<int64_t>(typed.*m);
            },
            members[i]);
        if (Status s = r.set(static_cast<int>(i), std::move(v)); !s) return s.error();
    }
    return r;
}

template <class R> R fromRecord(const store::Record& r) {
    R typed;
    typed.position = r.position;
    typed.version = r.version;
    const auto& members = R::members();
    for (size_t i = 0; i < members.size(); ++i) {
        int f = static_cast<int>(i);
        std::visit(
            [&](auto m) {
                using T = std::remove_cvref_t<decltype(typed.*m)>;
                if constexpr (std::is_same_v<T, std::string>) typed.*m = r.text(f);
                else if constexpr (std::is_same_v<T, double>) typed.*m = r.real(f);
                else if constexpr (std::is_same_v<T, Decimal>) typed.*m = r.decimal(f);
                else typed.*m = static_cast<T>(r.integer(f));
            },
            members[i]);
    }
    return typed;
}

} // namespace saldora
