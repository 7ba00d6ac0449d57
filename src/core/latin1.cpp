// Latin-1 text: sanitising, the Windows-1252 code page, UTF-8 in both directions.
#include "core/latin1.h"

#include <cstdint>

namespace zelkon {

namespace {

// Windows-1252 for the bytes 0x80 to 0x9F; 0 where the code page defines nothing.
constexpr char32_t Windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The plain text of a character Latin-1 lacks, or nothing.
std::string_view PlainEquivalent(char32_t c) {
    switch (c) {
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2013:
        case 0x2014:
        case 0x2015:
        case 0x2212:
            return "-";
        case 0x2018:
        case 0x2019:
        case 0x201A:
        case 0x201B:
        case 0x2032:
            return "'";
        case 0x201C:
        case 0x201D:
        case 0x201E:
        case 0x201F:
        case 0x2033:
            return "\"";
        case 0x2026:
            return "...";
        case 0x2022:
        case 0x2217:
            return "*";
        case 0x2039:
            return "<";
        case 0x203A:
            return ">";
        case 0x02C6:
            return "^";
        case 0x02DC:
            return "~";
        case 0x2044:
            return "/";
        case 0x2122:
            return "TM";
        case 0x20AC:
            return "EUR";
        case 0x2264:
            return "<=";
        case 0x2265:
            return ">=";
        case 0x03BC:
            return "\xB5";  // a Greek mu written for the micro sign
        case 0x2002:
        case 0x2003:
        case 0x2004:
        case 0x2005:
        case 0x2006:
        case 0x2007:
        case 0x2008:
        case 0x2009:
        case 0x200A:
        case 0x202F:
            return " ";
        default:
            return {};
    }
}

bool Vanishes(char32_t c) {
    return c == 0x200B || c == 0xFEFF;
}

constexpr unsigned char FirstStyleByte = 128;
constexpr unsigned char LastStyleByte = 130;

}  // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return Windows1252High[byte - 0x80];
    return byte;
}

bool AppendLatin1(std::string& out, char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out.push_back(static_cast<char>(c));
        return true;
    }
    if (Vanishes(c)) return true;
    const std::string_view plain = PlainEquivalent(c);
    if (!plain.empty()) {
        out += plain;
        return true;
    }
    out.push_back('?');
    return false;
}

std::string SanitizeLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 128 || c > 159) {
            out.push_back(ch);
        } else if (c >= FirstStyleByte && c <= LastStyleByte) {
            out.push_back('?');
        } else {
            const std::string_view plain = PlainEquivalent(Windows1252CodePoint(c));
            out += plain.empty() ? std::string_view("?") : plain;
        }
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // Length of the sequence from its lead byte; a stray continuation byte counts as one.
        std::size_t len = 1;
        std::uint32_t cp = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        }
        bool valid = len > 1 && i + len <= utf8.size();
        for (std::size_t k = 1; valid && k < len; ++k) {
            const auto cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) {
                valid = false;
            } else {
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (!valid) {
            out.push_back('?');
            ++i;
            continue;
        }
        // Overlong forms and the C1 controls are no characters of the text; the latter never
        // pass as style switches.
        if (cp < 0xA0) {
            out.push_back('?');
        } else {
            AppendLatin1(out, cp);
        }
        i += len;
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size() + latin1.size() / 8);
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string TrimBlanks(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

std::string CutText(std::string_view text, std::size_t n) {
    return std::string(text.substr(0, n));
}

}  // namespace zelkon
