#include "core/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/latin1.h"

namespace zelkon {

namespace {

// The length of the valid UTF-8 sequence at the start of text, 0 when there is none: no
// overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

// The text with every byte outside a valid sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

}  // namespace

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
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 21);
    text_.append(buffer, result.ptr);
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
    Quoted(Latin1ToUtf8(latin1));
    return *this;
}

JsonWriter& JsonWriter::Utf8String(std::string_view utf8) {
    Separate();
    Quoted(ValidUtf8(utf8));
    return *this;
}

void JsonWriter::Quoted(std::string_view utf8) {
    text_.push_back('"');
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"': text_ += "\\\""; break;
            case '\\': text_ += "\\\\"; break;
            case '\n': text_ += "\\n"; break;
            case '\r': text_ += "\\r"; break;
            case '\t': text_ += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    text_ += esc;
                } else {
                    text_.push_back(ch);
                }
        }
    }
    text_.push_back('"');
}

}  // namespace zelkon
