// Tests of the 8-bit text: Windows-1252 punctuation made plain in sanitised and converted
// text (titles and notes of a data file included), and the decoding of a file's bytes in
// each encoding the import reads.
#include "core/latin1.h"

#include <gtest/gtest.h>

#include "core/latin1_decode.h"
#include "document/data_file.h"
#include "document/document.h"

namespace zelkon {
namespace {

TEST(SanitizeLatin1Test, PunctuationBecomesPlainStyleBytesStayRefused) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x93quoted\x94 \x91one\x92", "\"quoted\" 'one'"},
        {"a\x96"
         "b\x97"
         "c",
         "a-b-c"},
        {"wait\x85", "wait..."},
        {"\x95 item", "* item"},
        {"\x8B\x9B \x88\x98", "<> ^~"},
        {"\x99", "TM"},
        {"\x80\x81\x82", "???"},  // the report's style switches never pass
        {"\x8A\x9F\x8D", "???"},  // letters Latin-1 lacks, undefined bytes
        {"Gr\xF6\xDF"
         "e \xB5g",
         "Gr\xF6\xDF"
         "e \xB5g"},  // Latin-1 stays
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(SanitizeLatin1(in), out) << in;
}

TEST(Utf8ToLatin1Test, PunctuationAndTheGreekMu) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xE2\x80\x9Cx\xE2\x80\x9D \xE2\x80\x93 y\xE2\x80\xA6", "\"x\" - y..."},
        {"\xCE\xBCg/ml", "\xB5g/ml"},
        {"\xC2\xB5g", "\xB5g"},
        {"\xE2\x89\x88", "?"},  // no plain equivalent
        {"\xC0\x80", "?"},      // an overlong zero
        {"\xC2\x85", "?"},      // a C1 control
        {"a\xE2\x80\x8B"
         "b",
         "ab"},  // a zero-width space vanishes
        {"\xFF", "?"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(Utf8ToLatin1(in), out) << in;
}

TEST(DecodeTextTest, EachEncoding) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        bool mark;
        std::string text;
        std::int64_t replaced;
        bool isText;
    };
    const Case cases[] = {
        {"plain\r\n", TextEncoding::Ascii, false, "plain\r\n", 0, true},
        {"\xC2\xB5g", TextEncoding::Utf8, false, "\xB5g", 0, true},
        {"\xEF\xBB\xBF\xC2\xB5g", TextEncoding::Utf8, true, "\xB5g", 0, true},
        {"\xEF\xBB\xBFx\xFFy", TextEncoding::Utf8, true, "x?y", 1, true},
        {"\xB5g \x93x\x94", TextEncoding::Windows1252, false, "\xB5g \"x\"", 0, true},
        {std::string("\xFF\xFE\xB5\0g\0", 6), TextEncoding::Utf16LittleEndian, true, "\xB5g", 0,
         true},
        {std::string("\xFE\xFF\0\xB5\0g", 6), TextEncoding::Utf16BigEndian, true, "\xB5g", 0, true},
        {std::string("\xFF\xFE\x3D\xD8\x00\xDEz\0", 8), TextEncoding::Utf16LittleEndian, true, "?z",
         1, true},  // a character past U+FFFF
        {std::string("\xFF\xFEx\0\0\0y\0", 8), TextEncoding::Utf16LittleEndian, true, "xy", 0,
         true},
        {"1\n2\x1Agarbage", TextEncoding::Ascii, false, "1\n2", 0, true},  // end of file
        {std::string("1,2\0", 4), TextEncoding::Ascii, false, "", 0, false},
        {"x\x81y", TextEncoding::Windows1252, false, "", 0, false},
    };
    for (const Case& c : cases) {
        const DecodedText d = DecodeText(c.bytes);
        EXPECT_EQ(d.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(d.byteOrderMark, c.mark) << c.bytes;
        EXPECT_EQ(d.text, c.text) << c.bytes;
        EXPECT_EQ(d.replaced, c.replaced) << c.bytes;
        EXPECT_EQ(d.isText, c.isText) << c.bytes;
    }
    EXPECT_EQ(TextForExport("ascii"), "ascii");
    EXPECT_EQ(TextForExport("\xB5"), "\xEF\xBB\xBF\xC2\xB5");
}

TEST(DataFileTextTest, Windows1252PunctuationInTitlesAndNotesIsMadePlain) {
    // A data file written by a program on a Windows-1252 system.
    Document doc;
    doc.Table().SetValue(0, 0, 1);
    doc.Table().SetNoRawData(0, false);
    doc.Table().Record(0).title = "TITLEX";
    doc.Notes() = "NOTESX";
    DataFileContents contents{doc.Data(), doc.Choices(), doc.Notes(), doc.Graph()};
    std::string text = BuildDataFileText(contents);
    text.replace(text.find("TITLEX"), 6,
                 "Dose \x96 \x93"
                 "A\x94");
    text.replace(text.find("NOTESX"), 6, "It\x92s done\x85");
    Document read;
    DataFileContents back{read.Data(), read.Choices(), read.Notes(), read.Graph()};
    ASSERT_EQ(ReadDataFileText(back, text, 1), 0);
    EXPECT_EQ(read.Table().Record(0).title, "Dose - \"A\"");
    EXPECT_EQ(read.Notes().substr(0, 13), "It's done...");
}

}  // namespace
}  // namespace zelkon
