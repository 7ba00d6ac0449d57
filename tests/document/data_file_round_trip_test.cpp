// Data files keep every digit: random documents of every layout are written, read and
// written again, and must give the same bytes and the original's values, statistics, titles,
// choices and notes; then each way a value once changed on its way through a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "core/file_io.h"
#include "core/grid_number.h"
#include "core/number_parse.h"
#include "core/stored_number.h"
#include "data/import_placement.h"
#include "data/scripted_prompts.h"
#include "data/sheet_editing.h"
#include "document/analysis_run.h"
#include "document/data_file.h"
#include "document/document.h"
#include "stats/column_stats.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

DataFileContents ContentsOf(Document& d) {
    return DataFileContents{d.Data(), d.Choices(), d.Notes(), d.Graph()};
}

// Reads a file's text into a new document.
std::unique_ptr<Document> ReadBack(const std::string& text, Separators separators = {}) {
    auto back = std::make_unique<Document>();
    const std::int32_t code = DetectDataFormatOfText(text);
    EXPECT_EQ(ReadDataFileText(ContentsOf(*back), text, code, separators), 0);
    return back;
}

// Random documents ---------------------------------------------------------------------------

class RandomDocuments {
public:
    explicit RandomDocuments(std::uint64_t seed) : rng_(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Chance(int percent) { return Int(1, 100) <= percent; }

    /// The text of a number as a user types it: 1 to 15 significant digits, a magnitude from
    /// 1E-300 to 1E300 (half of them near the fixed range).
    std::string NumberText() {
        std::string text = Chance(30) ? "-" : "";
        text += static_cast<char>('0' + Int(1, 9));
        const int digits = Int(1, 15);
        if (digits > 1) text += '.';
        for (int i = 1; i < digits; ++i) text += static_cast<char>('0' + Int(0, 9));
        text += 'E';
        text += std::to_string(Chance(50) ? Int(-6, 9) : Int(-300, 299));
        return text;
    }
    Extended Number() {
        for (;;) {
            Extended v = 0;
            EXPECT_TRUE(ParseNumber(NumberText(), Separators{}, v));
            if (!IsMissingValue(v)) return v;
        }
    }

    /// A title or notes line: any byte the program holds in its text (not CR or LF, nor the
    /// report's style bytes and the rest of 128-159, which never enter), up to `limit`.
    std::string Text(int limit, bool notes = false) {
        std::string text;
        const int length = Int(0, limit);
        while (static_cast<int>(text.size()) < length) {
            const int b = Int(0, 255);
            if (b == '\r' || b == '\n' || (b >= 128 && b <= 159)) continue;
            if (notes && b == 26) continue;  // the notes buffer's end mark
            text += static_cast<char>(b);
        }
        return text;
    }

    std::string Notes() {
        std::string notes;
        const int lines = Int(0, 12);
        for (int i = 0; i < lines; ++i) {
            if (i > 0) notes += "\r\n";
            if (Chance(10)) {
                notes += Chance(50) ? "<<END NOTES>>" : "<<END RAW DATA>>  ";
            } else {
                notes += Text(Chance(10) ? 300 : 60, true);
            }
        }
        if (Chance(20)) notes += "\r\n";
        return notes;
    }

    void FillCells(DataTable& t, int columns) {
        const int rows = Chance(5) ? DataRows : Int(1, 40);
        for (int c = 0; c < columns; ++c) {
            t.SetDecimals(c, Int(0, 20));
            t.SetDisplayFormat(c, Int(-1, 30));
            t.Record(c).title = Text(ColumnRecord::MaxTitle);
            if (Chance(10)) continue;  // an empty column
            for (int r = 0; r < rows; ++r) {
                if (Chance(20)) continue;
                t.SetValue(r, c, Number());
                t.SetNoRawData(c, false);
                if (Chance(10)) t.SetExcluded(r, c, true);
            }
        }
        for (int k = Int(0, 5); k > 0; --k) t.SetRowTitle(Int(0, DataRows - 1), Text(10));
    }

    void FillAveraged(Document& d, int columns) {
        test::ScriptedPrompts prompts;
        DataTable& t = d.Table();
        for (int c = 0; c < columns; ++c) {
            t.Record(c).title = Text(ColumnRecord::MaxTitle);
            t.SetDisplayFormat(c, Int(-1, 30));
            if (Chance(10)) continue;
            // Typed as on the statistics page: mean, error and N, each completing the record.
            d.Data().EnterAveragedValue(c, AveragedRow::Mean, NumberText(), {}, prompts);
            if (Chance(90)) {
                std::string error = NumberText();
                if (error.front() == '-') error.erase(0, 1);
                d.Data().EnterAveragedValue(c, AveragedRow::Error, error, {}, prompts);
            }
            d.Data().EnterAveragedValue(c, AveragedRow::N, std::to_string(Int(2, 5000)), {},
                                        prompts);
            FillSummary(nullptr, -1, t.Record(c));
        }
    }

    std::unique_ptr<Document> Make() {
        auto d = std::make_unique<Document>();
        const DataFormat format = AllDataFormats[static_cast<std::size_t>(Int(0, 6))];
        d->Data().SetFormat(format);
        DataTable& t = d->Table();
        t.SetDataTitle(Text(DataTable::MaxDataTitle));
        const int columns = Chance(10) ? DataColumns : Int(1, 6);
        AnalysisChoices& ch = d->Choices();
        ch.columns.hypotheticalValue = Number();
        ch.xy.ForceX = Number();
        ch.xy.ForceY = Number();
        if (format == DataFormat::MeanSDN || format == DataFormat::MeanSEMN) {
            FillAveraged(*d, columns);
        } else if (format == DataFormat::TwoByTwo) {
            TwoByTwoRecord& r = d->Data().TwoByTwo();
            for (Extended* v : {&r.a, &r.b, &r.c, &r.d}) *v = Chance(10) ? MissingValue : Number();
            for (std::string* s : {&r.column1Title, &r.column2Title, &r.row1Title, &r.row2Title}) {
                *s = Text(TwoByTwoRecord::MaxLabel);
            }
        } else {
            FillCells(t, columns);
        }
        for (int c = 0; c < DataColumns; ++c) t.SetSelected(c, !Chance(20));
        ch.multipleRegression.dependentColumn = Int(0, DataColumns - 1);
        for (auto& f : ch.multipleRegression.include) f = Chance(50) ? 1 : 0;
        d->Graph().xColumn = static_cast<char>('A' + Int(0, 25));
        d->Graph().yColumn = Chance(20) ? '*' : static_cast<char>('A' + Int(0, 25));
        d->Notes() = Notes();
        UpdateColumnSummaries(t);
        return d;
    }

private:
    std::mt19937_64 rng_;
};

// Exact equality, missing included.
void ExpectSame(Extended original, Extended back, const std::string& what) {
    EXPECT_TRUE(original == back) << what << ": " << FormatStoredNumber(original) << " came back as "
                                  << FormatStoredNumber(back);
}

void ExpectSameRecord(const ColumnRecord& a, const ColumnRecord& b, const std::string& where) {
    EXPECT_EQ(a.title, b.title) << where;
    EXPECT_EQ(a.n, b.n) << where;
    const Extended ColumnRecord::*fields[] = {
        &ColumnRecord::mean,   &ColumnRecord::sd,      &ColumnRecord::sem,     &ColumnRecord::minimum,
        &ColumnRecord::maximum, &ColumnRecord::median, &ColumnRecord::upper95, &ColumnRecord::lower95,
        &ColumnRecord::ks,     &ColumnRecord::ksp};
    for (const auto field : fields) ExpectSame(a.*field, b.*field, where + " statistic");
    EXPECT_EQ(a.passed, b.passed) << where;
}

// What the layout of a format keeps, compared with the original.
void ExpectSameDocument(Document& a, Document& b) {
    const DataFormat format = a.Format();
    ASSERT_EQ(b.Format(), format);
    const DataTable& ta = a.Table();
    const DataTable& tb = b.Table();
    EXPECT_EQ(ta.DataTitle(), tb.DataTitle());
    EXPECT_EQ(a.Notes(), b.Notes());
    const bool columnData = format == DataFormat::Raw || format == DataFormat::MeanSDN ||
                            format == DataFormat::MeanSEMN;
    if (format == DataFormat::TwoByTwo) {
        const TwoByTwoRecord& ra = a.Data().TwoByTwo();
        const TwoByTwoRecord& rb = b.Data().TwoByTwo();
        ExpectSame(ra.a, rb.a, "A");
        ExpectSame(ra.b, rb.b, "B");
        ExpectSame(ra.c, rb.c, "C");
        ExpectSame(ra.d, rb.d, "D");
        EXPECT_EQ(ra.column1Title, rb.column1Title);
        EXPECT_EQ(ra.column2Title, rb.column2Title);
        EXPECT_EQ(ra.row1Title, rb.row1Title);
        EXPECT_EQ(ra.row2Title, rb.row2Title);
        return;
    }
    for (int c = 0; c < DataColumns; ++c) {
        const std::string where = std::string("column ") + ColumnLetter(c);
        for (int r = 0; r < DataRows; ++r) {
            if (ta.IsMissing(r, c) && tb.IsMissing(r, c)) continue;
            ExpectSame(ta.Value(r, c), tb.Value(r, c), where + " row " + std::to_string(r));
            EXPECT_EQ(ta.IsExcluded(r, c), tb.IsExcluded(r, c)) << where << " row " << r;
        }
        ExpectSameRecord(ta.Record(c), tb.Record(c), where);
        if (format != DataFormat::MultipleRegression) {
            EXPECT_EQ(ta.DisplayFormat(c), tb.DisplayFormat(c)) << where;
        }
        if (columnData) {
            EXPECT_EQ(ta.Selected(c), tb.Selected(c)) << where;
        }
        // No digit the file holds is hidden: the column shows at least the decimals of each
        // of its values in fixed notation.
        for (int r = 0; r < DataRows; ++r) {
            const Extended v = tb.Value(r, c);
            if (IsMissingValue(v) || NeedsExponentForm(v)) continue;
            ASSERT_GE(tb.Decimals(c), FieldDecimals(FormatStoredCell(v, 0))) << where;
        }
    }
    for (int r = 0; r < DataRows; ++r) EXPECT_EQ(ta.RowTitle(r), tb.RowTitle(r)) << r;
    if (columnData) {
        ExpectSame(a.Choices().columns.hypotheticalValue, b.Choices().columns.hypotheticalValue,
                   "hypothetical value");
    }
    if (format == DataFormat::XY) {
        ExpectSame(a.Choices().xy.ForceX, b.Choices().xy.ForceX, "ForceX");
        ExpectSame(a.Choices().xy.ForceY, b.Choices().xy.ForceY, "ForceY");
    }
}

TEST(DataFileRoundTripProperty, RandomDocumentsComeBackWhole) {
    RandomDocuments random(20240618);
    for (int i = 0; i < 400; ++i) {
        std::unique_ptr<Document> original = random.Make();
        const std::string first = BuildDataFileText(ContentsOf(*original));
        const Separators separators = i % 4 == 3 ? Separators{',', ';'} : Separators{};
        std::unique_ptr<Document> back = ReadBack(first, separators);
        const std::string second = BuildDataFileText(ContentsOf(*back));
        ASSERT_EQ(first, second) << "document " << i;
        ExpectSameDocument(*original, *back);
        if (testing::Test::HasFailure()) {
            ADD_FAILURE() << "document " << i << " of format "
                          << DataFormatCaption(original->Format());
            return;
        }
    }
}

// Each way a value once changed --------------------------------------------------------------

TEST(DataFileDigits, DecimalsOfADeletedValueKeepTheOthersWhole) {
    // 0.000123456789, 1234.5 and 567.25 typed, the first deleted: the file holds
    // "1234.500000000000", which read back showing 1234 and 567 and was saved as "1234".
    Document d;
    test::ScriptedPrompts prompts;
    for (const auto& [row, text] : {std::pair{0, "0.000123456789"}, {1, "1234.5"}, {2, "567.25"}}) {
        PostTypedValue(d, row, 0, text, Separators{}, prompts);
    }
    ClearSelection(d, Selection::Cell(0, 0));
    UpdateColumnSummaries(d.Table());
    const std::string first = BuildDataFileText(ContentsOf(d));
    EXPECT_NE(first.find("\r\n*,\r\n1234.500000000000,\r\n567.250000000000,\r\n"), std::string::npos);
    std::unique_ptr<Document> back = ReadBack(first);
    const DataTable& t = back->Table();
    EXPECT_EQ(t.Decimals(0), 12);
    EXPECT_EQ(FormatGridNumber(t.Value(1, 0), ShownDecimals(t, 0)), "1234.500000000000");
    EXPECT_EQ(t.Value(2, 0), 567.25L);
    EXPECT_EQ(t.Record(0).mean, 900.875L);  // (1234.5 + 567.25) / 2
    EXPECT_EQ(BuildDataFileText(ContentsOf(*back)), first);
}

TEST(DataFileDigits, AveragedDataKeepTheirDigitsAndTheirTTest) {
    // A typed mean of 0.000123456789 came back as 0.00012346 and moved the t test's P (here
    // to 1, as the other column's mean is 0.00012346).  SciPy 1.10:
    // stats.ttest_ind_from_stats(0.000123456789, 2e-8, 5, 0.00012346, 2e-8, 5)
    // gives t = -0.2538518391692393, p = 0.8060125119954679.
    Document d;
    d.Data().SetFormat(DataFormat::MeanSDN);
    test::ScriptedPrompts prompts;
    const char* entries[2][3] = {{"0.000123456789", "0.00000002", "5"},
                                 {"0.00012346", "0.00000002", "5"}};
    for (int c = 0; c < 2; ++c) {
        d.Data().EnterAveragedValue(c, AveragedRow::Mean, entries[c][0], {}, prompts);
        d.Data().EnterAveragedValue(c, AveragedRow::Error, entries[c][1], {}, prompts);
        d.Data().EnterAveragedValue(c, AveragedRow::N, entries[c][2], {}, prompts);
        FillSummary(nullptr, -1, d.Table().Record(c));
    }
    d.Choices().columns.unpaired = 1;
    d.Choices().columns.equalSDs = true;
    Calculate(d);
    const std::string file = BuildDataFileText(ContentsOf(d));
    EXPECT_NE(file.find("\r\n0.000123456789\r\n 2.000E-08\r\n"), std::string::npos);
    std::unique_ptr<Document> back = ReadBack(file);
    EXPECT_EQ(back->Table().Record(0).mean, 0.000123456789L);
    ExpectSameRecord(d.Table().Record(0), back->Table().Record(0), "column A");
    EXPECT_EQ(back->Table().Decimals(0), 12);  // shown as typed
    Calculate(*back);
    EXPECT_EQ(back->Report().Text(), d.Report().Text());
    EXPECT_EQ(back->ResultJson(), d.ResultJson());
    const std::size_t p = d.ResultJson().find("\"pTwoTailed\":");
    ASSERT_NE(p, std::string::npos) << d.ResultJson();
    EXPECT_NEAR(std::strtold(d.ResultJson().c_str() + p + 13, nullptr), 0.8060125119954679L, 1E-9L);
}

TEST(DataFileDigits, ImportedValueKeepsItsFifteenDigits) {
    // An imported 3.14159265358979 raised its column to 11 decimals and was saved as
    // 3.14159265359.
    Document d;
    test::ScriptedPrompts prompts;
    const ImportPreview preview = LoadDelimitedText("3.14159265358979\r\n2.5\r\n", Separators{});
    ASSERT_TRUE(ImportIntoDocument(d, preview, ImportOptions{}, 0, 0, prompts));
    UpdateColumnSummaries(d.Table());
    const std::string file = BuildDataFileText(ContentsOf(d));
    EXPECT_NE(file.find("\r\n3.14159265358979,\r\n2.50000000000000,\r\n"), std::string::npos);
    std::unique_ptr<Document> back = ReadBack(file);
    EXPECT_EQ(back->Table().Value(0, 0), 3.14159265358979L);
    EXPECT_EQ(back->Table().Decimals(0), 14);
    EXPECT_EQ(BuildDataFileText(ContentsOf(*back)), file);
}

TEST(DataFileDigits, FilesOfEarlierVersionsReadAsTheyDid) {
    // Every value of the examples and of the fuzz corpus is what its text says: each raw data
    // field and each stored number of a column record is read as the number it spells.
    namespace fs = std::filesystem;
    int files = 0;
    for (const char* folder : {"examples", "fuzz/corpus/data_file", "tests/data/files"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(ZELKON_SOURCE_DIR) / folder)) {
            std::string text;
            ASSERT_TRUE(ReadWholeFile(entry.path().string(), text));
            const std::int32_t code = DetectDataFormatOfText(text);
            if (code < 1 || code > 3) continue;
            ++files;
            Document d;
            ASSERT_EQ(ReadDataFileText(ContentsOf(d), text, code), 0) << entry.path();
            DataFileLines lines(text);
            std::string_view line;
            for (int i = 0; i < 7; ++i) lines.Next(line);
            for (int r = 0; lines.Next(line) && line != EndRawDataMarker; ++r) {
                int c = 0;
                for (std::size_t pos = 0; pos < line.size() && c < DataColumns; ++pos) {
                    const std::size_t end = std::min(line.find(',', pos), line.size());
                    const std::string_view field = line.substr(pos, end - pos);
                    pos = end;
                    if (field.empty()) continue;  // runs of commas count as one
                    Extended v = MissingValue;
                    if (field != "*" && !ParseNumberWithPoint(field, Separators{}, v)) v = MissingValue;
                    ExpectSame(v, d.Table().Value(r, c++), entry.path().string());
                }
            }
            for (int c = 0; c < DataColumns; ++c) {
                std::string_view block[12];
                for (std::string_view& l : block) lines.Next(l);
                if (!HoldsAveragedData(d.Table(), c)) continue;
                const ColumnRecord& rec = d.Table().Record(c);
                const Extended read[] = {rec.mean,    rec.sd,     rec.sem,     rec.minimum,
                                         rec.maximum, rec.median, rec.upper95, rec.lower95};
                for (int k = 0; k < 8; ++k) {
                    Extended stored = MissingValue;
                    if (!ParseNumberWithPoint(block[3 + k], Separators{}, stored)) stored = MissingValue;
                    ExpectSame(stored, read[k], entry.path().string());
                }
            }
        }
    }
    EXPECT_GE(files, 8);
}

}  // namespace
}  // namespace zelkon
