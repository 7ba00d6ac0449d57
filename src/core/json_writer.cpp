#include "core/json_writer.h"

#include <cmath>
#include <cstdio>

#include "core/latin1.h"

namespace zelkon {

void JsonWriter::Separate() {
    if (needComma_) text_.push_back(',');
    needComma_ = true;
}

JsonWriter& JsonWriter::BeginObject() {
    Separate();
    text_.push_back('{');
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    text_.push_back('}');
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Separate();
    text_.push_back('[');
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    text_.push_back(']');
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    String(key);
    text_.push_back(':');
    needComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::Number(Extended value) {
    if (IsMissingValue(value) || !std::isfinite(value)) return Null();
    Separate();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.21Lg", value);
    text_ += buffer;
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    Separate();
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    Separate();
    text_ += "null";
    return *this;
}

JsonWriter& JsonWriter::Raw(std::string_view json) {
    Separate();
    text_ += json;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view latin1) {
    Separate();
    text_.push_back('"');
    for (char ch : Latin1ToUtf8(latin1)) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"': text_ += "\\\""; break;
            case '\\': text_ += "\\\\"; break;
            case '\n': text_ += "\\n"; break;
            case '\r': text_ += "\\r"; break;
            case '\t': text_ += "\\t"; break;
            default:
                if (c < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    text_ += esc;
                } else {
                    text_.push_back(ch);
                }
        }
    }
    text_.push_back('"');
    return *this;
}

}  // namespace zelkon
