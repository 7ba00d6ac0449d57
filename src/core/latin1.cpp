#include "core/latin1.h"

#include <cstdint>

namespace zelkon {

namespace {
bool IsC1(unsigned char c) { return c >= 128 && c <= 159; }
}  // namespace

std::string SanitizeLatin1(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        if (IsC1(static_cast<unsigned char>(ch))) ch = '?';
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
        out.push_back(cp >= 160 && cp <= 255 ? static_cast<char>(cp) : '?');
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
