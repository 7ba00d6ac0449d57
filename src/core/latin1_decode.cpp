// Decoding the bytes of a text file into 8-bit text.
#include "core/latin1_decode.h"

#include <algorithm>

#include "core/latin1.h"

namespace zelkon {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LittleMark = "\xFF\xFE";
constexpr std::string_view Utf16BigMark = "\xFE\xFF";
constexpr char32_t EndOfFile = 26;
constexpr char32_t Invalid = 0xFFFFFFFF;

unsigned char Byte(std::string_view s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

// The character of the UTF-8 sequence at `i` and its length; Invalid (length 1) for a
// sequence that is malformed, overlong, a surrogate or past U+10FFFF.
char32_t NextUtf8(std::string_view s, std::size_t i, std::size_t& length) {
    const unsigned char lead = Byte(s, i);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t n = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        n = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        n = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return Invalid;
    }
    if (i + n > s.size()) return Invalid;
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned char b = Byte(s, i + k);
        if ((b & 0xC0) != 0x80) return Invalid;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return Invalid;
    length = n;
    return c;
}

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        std::size_t length = 1;
        if (NextUtf8(s, i, length) == Invalid) return false;
        i += length;
    }
    return true;
}

// Adds one decoded character; false when the text ends here.
bool Add(DecodedText& out, char32_t c) {
    if (c == EndOfFile) return false;
    if (c >= 0x80 && c < 0xA0) {
        out.text.push_back('?');  // C1 controls are no text
        ++out.replaced;
    } else if (!AppendLatin1(out.text, c)) {
        ++out.replaced;
    }
    return true;
}

void DecodeUtf8(std::string_view s, DecodedText& out) {
    for (std::size_t i = 0; i < s.size();) {
        std::size_t length = 1;
        const char32_t c = NextUtf8(s, i, length);
        if (c == Invalid) {
            out.text.push_back('?');
            ++out.replaced;
        } else if (c == 0) {
            out.isText = false;
            return;
        } else if (!Add(out, c)) {
            return;
        }
        i += length;
    }
}

void DecodeUtf16(std::string_view s, bool littleEndian, DecodedText& out) {
    const auto unit = [&](std::size_t i) -> char32_t {
        return littleEndian ? Byte(s, i) | (Byte(s, i + 1) << 8)
                            : (Byte(s, i) << 8) | Byte(s, i + 1);
    };
    std::size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < s.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c == 0) continue;  // no zero reaches the text
        if (c >= 0xD800 && c <= 0xDFFF) {
            out.text.push_back('?');
            ++out.replaced;
            continue;
        }
        if (!Add(out, c)) return;
    }
    if (i < s.size()) {  // an odd last byte
        out.text.push_back('?');
        ++out.replaced;
    }
}

void DecodeWindows1252(std::string_view s, DecodedText& out) {
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        const char32_t c = Windows1252CodePoint(b);
        if (b == 0 || (b >= 0x80 && c == 0)) {
            out.isText = false;
            return;
        }
        if (!Add(out, c)) return;
    }
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
    DecodedText out;
    out.text.reserve(bytes.size());
    if (StartsWith(bytes, Utf8Mark)) {
        out.encoding = TextEncoding::Utf8;
        out.byteOrderMark = true;
        DecodeUtf8(bytes.substr(Utf8Mark.size()), out);
    } else if (StartsWith(bytes, Utf16LittleMark) || StartsWith(bytes, Utf16BigMark)) {
        const bool little = StartsWith(bytes, Utf16LittleMark);
        out.encoding = little ? TextEncoding::Utf16LittleEndian : TextEncoding::Utf16BigEndian;
        out.byteOrderMark = true;
        DecodeUtf16(bytes.substr(2), little, out);
    } else if (std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.encoding = TextEncoding::Ascii;
        DecodeWindows1252(bytes, out);
    } else if (IsValidUtf8(bytes)) {
        out.encoding = TextEncoding::Utf8;
        DecodeUtf8(bytes, out);
    } else {
        out.encoding = TextEncoding::Windows1252;
        DecodeWindows1252(bytes, out);
    }
    if (!out.isText) out.text.clear();
    return out;
}

std::string EncodingName(TextEncoding encoding, bool byteOrderMark) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return "ASCII";
        case TextEncoding::Utf8:
            return byteOrderMark ? "UTF-8 with a byte-order mark" : "UTF-8";
        case TextEncoding::Utf16LittleEndian:
            return "UTF-16 little-endian";
        case TextEncoding::Utf16BigEndian:
            return "UTF-16 big-endian";
        case TextEncoding::Windows1252:
            return "Windows-1252 (Latin-1)";
    }
    return {};
}

std::string TextForExport(std::string_view latin1) {
    const bool ascii = std::all_of(latin1.begin(), latin1.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::string(latin1);
    return std::string(Utf8Mark) + Latin1ToUtf8(latin1);
}

}  // namespace zelkon
