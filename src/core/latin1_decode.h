// Reading the bytes of a text file written by another program as the program's 8-bit text:
// UTF-8 with or without a byte-order mark, UTF-16 (little- or big-endian) with one, plain
// ASCII, and Windows-1252 / Latin-1.  Characters the 8-bit text cannot hold become "?" and
// are counted; bytes that fit no encoding make the file no text at all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelkon {

/// The encodings a text file is read in.
enum class TextEncoding { Ascii, Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

/// A file's text as the program holds it.
struct DecodedText {
    std::string text;  ///< 8-bit Latin-1
    TextEncoding encoding = TextEncoding::Ascii;
    bool byteOrderMark = false;  ///< the file began with a byte-order mark
    std::int64_t replaced = 0;   ///< characters that became "?"
    bool isText = true;          ///< false: bytes that fit no encoding
};

/// Decodes a file's bytes.  A byte-order mark decides UTF-8 or UTF-16; otherwise bytes that
/// form valid UTF-8 are UTF-8, bytes below 128 ASCII, anything else Windows-1252.  A zero
/// byte in 8-bit text, or a byte Windows-1252 leaves undefined in text that is not UTF-8,
/// fits no encoding (`isText` false).  Zero characters of UTF-16 text are dropped.  The
/// end-of-file character 26 ends the text.  Punctuation Latin-1 lacks becomes its plain
/// equivalent (AppendLatin1).
DecodedText DecodeText(std::string_view bytes);

/// The encoding as the import's account names it: "ASCII", "UTF-8", "UTF-8 with a
/// byte-order mark", "UTF-16 little-endian", "UTF-16 big-endian", "Windows-1252 (Latin-1)".
std::string EncodingName(TextEncoding encoding, bool byteOrderMark);

/// Text for a file another program reads: unchanged when it is ASCII, otherwise UTF-8 with
/// a byte-order mark, so that reading it back is never in doubt.
std::string TextForExport(std::string_view latin1);

}  // namespace zelkon
