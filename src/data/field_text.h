#pragma once
// A field's value as plain text, for the data tool's dumps and loads and other exchanges: text in
// UTF-8, whole numbers and day numbers in decimal, DECIMAL as "-1234.50", REAL in the shortest
// form that reads back to the same double.
#include "data/layout.h"
#include "data/picture.h"
#include "data/result.h"
#include "data/store.h"

#include <string>
#include <string_view>

namespace saldora::store {

std::string plainText(const Field& field, const Value& value);
// Checks the text against the field: a text longer than the field, a character cp1252 cannot
// hold, a number out of the field's range or no number at all is refused with a Portuguese text
// naming the field.
Result<Value> fromPlainText(const Field& field, std::string_view text);

// The value as the picture module takes it (DECIMAL fields as Decimal).
picture::Value toPictureValue(const Field& field, const Value& value);

} // namespace saldora::store
