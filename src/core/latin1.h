// Engine text is 8-bit Latin-1.  User text that enters the engine is sanitised so that it
// can never carry the report's style switches (bytes 128-130) or other control bytes.
#pragma once

#include <string>
#include <string_view>

namespace zelkon {

/// Replaces the bytes 128-159 (the C1 range, which holds the report's style switches) with '?'.
std::string SanitizeLatin1(std::string_view text);

/// Converts UTF-8 text to Latin-1: characters outside Latin-1 and the C1 range become '?'.
/// Invalid UTF-8 sequences also become '?'.
std::string Utf8ToLatin1(std::string_view utf8);

/// Converts Latin-1 text to UTF-8 (for terminals and JSON output).
std::string Latin1ToUtf8(std::string_view latin1);

/// Removes leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(std::string_view text);

/// Cuts text to at most n bytes.
std::string CutText(std::string_view text, std::size_t n);

}  // namespace zelkon
