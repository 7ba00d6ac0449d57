// Engine text is 8-bit Latin-1.  User text that enters the engine is sanitised so that it
// can never carry the report's style switches (bytes 128-130) or other control bytes; the
// typographic punctuation that Latin-1 lacks (dashes, curly quotes, ellipsis, bullet) becomes
// its plain equivalent rather than "?".
#pragma once

#include <string>
#include <string_view>

namespace zelkon {

/// Replaces the bytes 128-159 (the C1 range, which holds the report's style switches).  Read
/// as Windows-1252, the punctuation among them becomes its plain equivalent ("..." for the
/// ellipsis, "-" for the dashes, straight quotes for curly ones, "*" for the bullet); the
/// style bytes 128-130 and everything else become "?".  The text can grow (the ellipsis).
std::string SanitizeLatin1(std::string_view text);

/// The character a byte of Windows-1252 stands for (its Unicode code point); 0 for the five
/// bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t Windows1252CodePoint(unsigned char byte);

/// Appends one character to 8-bit text: Latin-1 characters as themselves (controls too),
/// typographic punctuation as its plain equivalent (a Greek mu as the micro sign), a
/// zero-width character or byte-order mark as nothing, anything else as "?".  Returns false
/// when the character became "?".
bool AppendLatin1(std::string& out, char32_t character);

/// Converts UTF-8 text to Latin-1 by AppendLatin1; invalid UTF-8 sequences also become '?'.
std::string Utf8ToLatin1(std::string_view utf8);

/// Converts Latin-1 text to UTF-8 (for terminals and JSON output).
std::string Latin1ToUtf8(std::string_view latin1);

/// Removes leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(std::string_view text);

/// Cuts text to at most n bytes.
std::string CutText(std::string_view text, std::size_t n);

}  // namespace zelkon
