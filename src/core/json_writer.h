// A small JSON writer for the result structs that `zelkon-cli --json` prints: numbers at
// full extended precision (missing values, infinities and NaN as null) whatever the locale,
// Latin-1 text as UTF-8 strings, so that every text it gives is valid UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"

namespace zelkon {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    /// The key of the next value inside an object.
    JsonWriter& Key(std::string_view key);
    /// A number with 21 significant digits (enough to read back every extended value);
    /// MissingValue and non-finite values give null.
    JsonWriter& Number(Extended value);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Bool(bool value);
    /// Latin-1 text (the program's own: titles, labels, captions), written as a UTF-8 JSON
    /// string.
    JsonWriter& String(std::string_view latin1);
    /// Text that is already UTF-8 (a file name as the system gives it); a byte that does not
    /// belong to a valid UTF-8 sequence is written as U+FFFD.
    JsonWriter& Utf8String(std::string_view utf8);
    JsonWriter& Null();
    /// A value that is already JSON text (a nested result written by another writer).
    JsonWriter& Raw(std::string_view json);

    /// Shorthands for a key and its value.
    JsonWriter& Field(std::string_view key, Extended value) { return Key(key).Number(value); }
    JsonWriter& Field(std::string_view key, std::int32_t value) { return Key(key).Integer(value); }
    JsonWriter& Field(std::string_view key, bool value) { return Key(key).Bool(value); }
    JsonWriter& Field(std::string_view key, std::string_view value) { return Key(key).String(value); }
    JsonWriter& Field(std::string_view key, const char* value) { return Key(key).String(value); }

    const std::string& Text() const { return text_; }

private:
    void Separate();
    void Quoted(std::string_view utf8);
    std::string text_;
    bool needComma_ = false;
};

}  // namespace zelkon
