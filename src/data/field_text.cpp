#include "data/field_text.h"

#include "data/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace saldora::store {

std::string plainText(const Field& f, const Value& v) {
    if (f.isText()) return cp1252::toUtf8(std::get<std::string>(v));
    if (f.type == FieldType::Real) {
        char buf[64];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::get<double>(v));
        return std::string(buf, end);
    }
    int64_t i = std::get<int64_t>(v);
    if (f.type == FieldType::Decimal) return Decimal::fromCents(i).toString();
    return std::to_string(i);
}

Result<Value> fromPlainText(const Field& f, std::string_view text) {
    auto refuse = [&](const std::string& why) {
        return Error{1, f.name + ": " + why};
    };
    if (f.isText()) {
        auto converted = cp1252::fromUtf8(text);
        if (!converted) return refuse(converted.error().text);
        std::string s = f.type == FieldType::String ? std::string(fixed::clip(*converted))
                                                     : *converted;
        if (static_cast<int>(s.size()) > f.textCapacity())
            return refuse("texto de " + std::to_string(s.size()) + " caracteres; o campo aceita " +
                          std::to_string(f.textCapacity()) + ".");
        return Value(std::move(s));
    }
    if (f.type == FieldType::Decimal) {
        auto d = Decimal::parse(text, f.size);
        if (!d) return refuse(d.error().text);
        return Value(d->cents());
    }
    if (f.type == FieldType::Real) {
        std::string s(text);
        char* end = nullptr;
        double d = std::strtod(s.c_str(), &end);
        if (s.empty() || *end != '\0' || !std::isfinite(d))
            return refuse("número inválido: \"" + s + "\".");
        return Value(d);
    }
    int64_t i = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), i);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return refuse("número inteiro inválido: \"" + std::string(text) + "\".");
    auto fitted = fitValue(f, Value(i));
    if (!fitted) return refuse("valor fora do limite do campo.");
    return fitted;
}

picture::Value toPictureValue(const Field& f, const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto d = std::get_if<double>(&v)) return *d;
    int64_t i = std::get<int64_t>(v);
    if (f.type == FieldType::Decimal) return Decimal::fromCents(i);
    return i;
}

} // namespace saldora::store
