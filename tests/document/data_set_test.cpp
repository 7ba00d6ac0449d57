// Tests of the document's data set: formats, column counts, the step-1 rules, averaged-data
// entry, raw entry into averaged columns and numbers typed as column titles.
#include "document/data_set.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace zelkon {
namespace {

// Answers questions from a script and records what was asked; never blocks.
class ScriptedPrompts : public UserPrompts {
public:
    std::deque<PromptAnswer> answers;
    std::vector<std::string> asked;
    std::vector<std::string> told;
    bool expectTold = false;
    int beeps = 0;

    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override {
        asked.emplace_back(text);
        EXPECT_EQ(buttons, PromptButtons::YesNo);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return PromptAnswer::Cancel;
        }
        const PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void Tell(std::string_view text) override {
        if (!expectTold) ADD_FAILURE() << "unexpected message: " << text;
        told.emplace_back(text);
    }
    void Beep() override { ++beeps; }
};

constexpr Separators Point{'.', ','};
constexpr Separators Comma{',', ';'};

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.SetModifiedHook([this] { ++modified; });
    }
    // Types a mean, error and N into column c as the statistics grid would.
    void TypeAveraged(int c, const char* mean, const char* error, const char* n) {
        data.EnterAveragedValue(c, AveragedRow::Mean, mean, Point, prompts);
        data.EnterAveragedValue(c, AveragedRow::Error, error, Point, prompts);
        data.EnterAveragedValue(c, AveragedRow::N, n, Point, prompts);
    }

    DataSet data;
    ScriptedPrompts prompts;
    int modified = 0;
};

TEST(DataFormatTest, CaptionsAndFileCodes) {
    // Codes from the data file's format table: Raw 1, SD 2, SEM 3, larger table 4,
    // two-by-two 5, X and Y 6, multiple regression 7.
    const std::pair<DataFormat, int> codes[] = {
        {DataFormat::Raw, 1},      {DataFormat::MeanSDN, 2},     {DataFormat::MeanSEMN, 3},
        {DataFormat::LargerTable, 4}, {DataFormat::TwoByTwo, 5}, {DataFormat::XY, 6},
        {DataFormat::MultipleRegression, 7}};
    for (const auto& [format, code] : codes) {
        EXPECT_EQ(DataFormatToFileCode(format), code);
        EXPECT_EQ(DataFormatFromFileCode(code), format);
    }
    for (int bad : {0, 8, -1, 100}) EXPECT_FALSE(DataFormatFromFileCode(bad).has_value());

    EXPECT_EQ(DataFormatCaption(AllDataFormats[0]), "X and Y (or two or more Y replicates). ");
    EXPECT_EQ(DataFormatCaption(DataFormat::Raw), "Raw data.");
    EXPECT_EQ(DataFormatCaption(DataFormat::MeanSDN), "Averaged data. Mean, SD && N.");
    EXPECT_EQ(DataFormatCaption(DataFormat::MeanSEMN), "Averaged data. Mean, SEM && N.");
    EXPECT_EQ(DataFormatCaption(DataFormat::TwoByTwo), "Two rows, two columns.");
    EXPECT_EQ(DataFormatCaption(DataFormat::LargerTable), "Larger contingency table.");
    EXPECT_EQ(DataFormatCaption(AllDataFormats[6]),
              "Y and 2 or more X variables (multiple reg).");
}

TEST_F(DataSetTest, NewDataSetIsRawAndEmpty) {
    EXPECT_EQ(data.Format(), DataFormat::Raw);
    EXPECT_TRUE(data.ErrorIsSD());
    EXPECT_TRUE(data.TwoByTwo().AllCellsMissing());
    EXPECT_EQ(data.DataColumnCount(), 0);
    EXPECT_EQ(data.SelectedDataColumnCount(), 0);
}

TEST_F(DataSetTest, TypedAveragedColumnCountsAsDataColumn) {
    TypeAveraged(2, "5", "1", "10");
    const ColumnRecord& r = data.Table().Record(2);
    EXPECT_EQ(r.mean, 5.0L);
    EXPECT_EQ(r.sd, 1.0L);
    EXPECT_EQ(r.n, 10);
    EXPECT_TRUE(data.Table().NoRawData(2));
    EXPECT_TRUE(data.HasMeanData(2));
    EXPECT_EQ(data.DataColumnCount(), 1);
    EXPECT_EQ(data.SelectedDataColumnCount(), 1);
    data.Table().BuildColumnMap();
    EXPECT_EQ(data.Table().MappedColumnCount(), 1);
    EXPECT_EQ(data.Table().MappedColumn(0), 2);
    EXPECT_EQ(modified, 3);

    data.Table().SetSelected(2, false);
    EXPECT_EQ(data.SelectedDataColumnCount(), 0);
    data.Table().SetSelected(5, true);
    data.SelectAllDataColumns();
    EXPECT_TRUE(data.Table().Selected(2));
    EXPECT_FALSE(data.Table().Selected(5));
    EXPECT_EQ(data.SelectedDataColumnCount(), 1);
}

TEST_F(DataSetTest, HasMeanDataNeedsNAndAStatistic) {
    ColumnRecord& r = data.Table().Record(0);
    r.mean = 3.0L;
    EXPECT_FALSE(data.HasMeanData(0));  // N = 0
    r.n = 4;
    EXPECT_TRUE(data.HasMeanData(0));
    r.mean = MissingValue;
    EXPECT_FALSE(data.HasMeanData(0));
    r.sem = 0.5L;
    EXPECT_TRUE(data.HasMeanData(0));
    EXPECT_FALSE(data.HasMeanData(-1));
    EXPECT_FALSE(data.HasMeanData(26));
}

TEST_F(DataSetTest, AveragedEntryRules) {
    // Same value again: nothing changes.
    data.EnterAveragedValue(0, AveragedRow::Mean, "5", Point, prompts);
    const int before = modified;
    const AveragedEntryResult same =
        data.EnterAveragedValue(0, AveragedRow::Mean, " 5.0 ", Point, prompts);
    EXPECT_FALSE(same.changed);
    EXPECT_FALSE(same.needsRecompute);
    EXPECT_EQ(modified, before);

    // The user's decimal separator.
    const AveragedEntryResult changed =
        data.EnterAveragedValue(0, AveragedRow::Mean, "2,5", Comma, prompts);
    EXPECT_TRUE(changed.changed);
    EXPECT_TRUE(changed.needsRecompute);
    EXPECT_EQ(data.Table().Record(0).mean, 2.5L);
    EXPECT_EQ(prompts.beeps, 0);

    // A mean that does not parse is taken as missing, with a beep.
    data.EnterAveragedValue(0, AveragedRow::Mean, "abc", Point, prompts);
    EXPECT_EQ(data.Table().Record(0).mean, MissingValue);
    EXPECT_EQ(prompts.beeps, 1);
    // Blank into a blank mean still beeps, but changes nothing.
    EXPECT_FALSE(data.EnterAveragedValue(0, AveragedRow::Mean, "", Point, prompts).changed);
    EXPECT_EQ(prompts.beeps, 2);
}

TEST_F(DataSetTest, NBelowTwoClearsEverythingButTheMean) {
    TypeAveraged(1, "5", "1", "10");
    ColumnRecord& r = data.Table().Record(1);
    r.title = "Dose";
    r.sem = 0.3L;  // as the recomputation would leave them
    r.upper95 = 6.0L;
    r.lower95 = 4.0L;
    r.median = 5.0L;
    data.EnterAveragedValue(1, AveragedRow::N, "1", Point, prompts);
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(r.mean, 5.0L);
    EXPECT_EQ(r.title, "Dose");
    for (Extended v : {r.sd, r.sem, r.minimum, r.maximum, r.median, r.upper95, r.lower95, r.ks,
                       r.ksp}) {
        EXPECT_EQ(v, MissingValue);
    }
    EXPECT_EQ(data.DataColumnCount(), 0);
}

TEST_F(DataSetTest, NMustBeAWholeNumberFromTwoToInt32Max) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {{"2", 2},     {" 10 ", 10}, {"2147483647", 2147483647},
                          {"2147483648", 0}, {"0", 0},   {"-5", 0},
                          {"1E2", 100}, {"abc", 0},   {"", 0},
                          {"99999999999999999999", 0}};
    for (const auto& c : cases) {
        data.Table().Record(0).n = 7;
        data.Table().Record(0).sd = 1.0L;
        data.EnterAveragedValue(0, AveragedRow::N, c.text, Point, prompts);
        EXPECT_EQ(data.Table().Record(0).n, c.expected) << c.text;
        EXPECT_EQ(data.Table().Record(0).sd == MissingValue, c.expected == 0) << c.text;
    }
    // A count that is not whole is refused with a message and changes nothing.
    prompts.expectTold = true;
    for (const char* text : {"2.5", "10.5", "-0.5"}) {
        prompts.told.clear();
        data.Table().Record(0).n = 7;
        data.Table().Record(0).sd = 1.0L;
        EXPECT_FALSE(data.EnterAveragedValue(0, AveragedRow::N, text, Point, prompts).changed);
        EXPECT_EQ(data.Table().Record(0).n, 7) << text;
        EXPECT_EQ(data.Table().Record(0).sd, 1.0L);
        ASSERT_EQ(prompts.told.size(), 1u);
        EXPECT_EQ(prompts.told[0], CountNotWholeMessage);
    }
}

// A mean or error the sheet cannot hold (the missing-value marker 1.7E38 and beyond) is
// refused with a message and leaves the typed value, never emptying it.
TEST_F(DataSetTest, TooLargeMeanOrErrorIsRefused) {
    data.ChangeFormat(DataFormat::MeanSDN);
    TypeAveraged(0, "5", "1", "10");
    prompts.expectTold = true;
    for (const AveragedRow row : {AveragedRow::Mean, AveragedRow::Error}) {
        for (const char* text : {"1.7E38", "-1.7E38", "2E38", "1E5000"}) {
            prompts.told.clear();
            EXPECT_FALSE(data.EnterAveragedValue(0, row, text, Point, prompts).changed) << text;
            ASSERT_EQ(prompts.told.size(), 1u) << text;
            EXPECT_EQ(prompts.told[0], ValueTooLargeMessage);
        }
    }
    EXPECT_EQ(data.Table().Record(0).mean, 5.0L);
    EXPECT_EQ(data.Table().Record(0).sd, 1.0L);
    // Just below the marker is a value like any other.
    prompts.told.clear();
    EXPECT_TRUE(data.EnterAveragedValue(0, AveragedRow::Mean, "1.6E38", Point, prompts).changed);
    EXPECT_EQ(data.Table().Record(0).mean, 1.6E38L);
    EXPECT_TRUE(prompts.told.empty());
}

// The error the user types is kept; the other one is emptied so that the recomputation
// derives it again from the typed one (and from a new N).
TEST_F(DataSetTest, TypedErrorIsTheOneKept) {
    data.ChangeFormat(DataFormat::MeanSEMN);
    ColumnRecord& r = data.Table().Record(0);
    TypeAveraged(0, "5", "1", "10");
    EXPECT_EQ(r.sem, 1.0L);
    EXPECT_EQ(r.sd, MissingValue);
    r.sd = 3.1622776601683793L;  // what the recomputation derives: SEM * sqrt(10)
    data.EnterAveragedValue(0, AveragedRow::N, "20", Point, prompts);
    EXPECT_EQ(r.sem, 1.0L);
    EXPECT_EQ(r.sd, MissingValue);

    data.ChangeFormat(DataFormat::MeanSDN);
    r.sd = 2.0L;
    r.sem = 0.5L;
    data.EnterAveragedValue(0, AveragedRow::Error, "4", Point, prompts);
    EXPECT_EQ(r.sd, 4.0L);
    EXPECT_EQ(r.sem, MissingValue);
    // Emptying the typed error empties both.
    r.sem = 0.9L;
    data.EnterAveragedValue(0, AveragedRow::Error, "", Point, prompts);
    EXPECT_EQ(r.sd, MissingValue);
    EXPECT_EQ(r.sem, MissingValue);
}

TEST_F(DataSetTest, PrepareSummaryPageDropsIncompleteRecords) {
    ColumnRecord& noMean = data.Table().Record(0);
    noMean.n = 5;
    noMean.sd = 1.0L;
    ColumnRecord& noError = data.Table().Record(1);
    noError.n = 5;
    noError.mean = 2.0L;
    noError.upper95 = 3.0L;
    ColumnRecord& complete = data.Table().Record(2);
    complete.n = 5;
    complete.mean = 2.0L;
    complete.sem = 0.5L;
    ColumnRecord& oneRaw = data.Table().Record(3);  // one raw value: SD = SEM = 0
    oneRaw.n = 1;
    oneRaw.mean = 4.0L;
    oneRaw.sd = 0.0L;
    oneRaw.sem = 0.0L;

    data.PrepareSummaryPage();
    EXPECT_EQ(noMean.n, 0);
    EXPECT_EQ(noMean.sd, MissingValue);
    EXPECT_EQ(noError.n, 0);
    EXPECT_EQ(noError.mean, 2.0L);
    EXPECT_EQ(noError.upper95, MissingValue);
    EXPECT_EQ(complete.n, 5);
    EXPECT_EQ(complete.sem, 0.5L);
    EXPECT_EQ(oneRaw.n, 1);
}

TEST_F(DataSetTest, SwitchingToTwoByTwoSeedsFromTheTable) {
    DataTable& t = data.Table();
    t.SetValue(0, 0, 10.0L);
    t.SetValue(1, 0, 20.0L);
    t.SetValue(0, 1, 30.0L);
    t.SetValue(1, 1, 40.0L);
    data.ChangeFormat(DataFormat::TwoByTwo);
    EXPECT_EQ(data.Format(), DataFormat::TwoByTwo);
    EXPECT_EQ(data.TwoByTwo().a, 10.0L);
    EXPECT_EQ(data.TwoByTwo().b, 20.0L);
    EXPECT_EQ(data.TwoByTwo().c, 30.0L);
    EXPECT_EQ(data.TwoByTwo().d, 40.0L);
    EXPECT_EQ(modified, 1);

    // Once the record has any value it is left alone.
    data.ChangeFormat(DataFormat::Raw);
    t.SetValue(0, 0, 99.0L);
    data.ChangeFormat(DataFormat::TwoByTwo);
    EXPECT_EQ(data.TwoByTwo().a, 10.0L);

    data.TwoByTwo().Clear();
    data.TwoByTwo().d = 7.0L;
    data.ChangeFormat(DataFormat::TwoByTwo);
    EXPECT_EQ(data.TwoByTwo().a, MissingValue);
    EXPECT_EQ(data.TwoByTwo().d, 7.0L);
}

TEST_F(DataSetTest, SwitchingToTwoByTwoWithoutDataLeavesRecordEmpty) {
    data.ChangeFormat(DataFormat::TwoByTwo);
    EXPECT_TRUE(data.TwoByTwo().AllCellsMissing());
}

TEST_F(DataSetTest, FormatChangeRules) {
    data.ChangeFormat(DataFormat::MeanSEMN);
    EXPECT_FALSE(data.ErrorIsSD());
    data.ChangeFormat(DataFormat::MeanSDN);
    EXPECT_TRUE(data.ErrorIsSD());

    for (int c = 0; c < DataColumns; ++c) data.Table().SetChanged(c, false);
    data.ChangeFormat(DataFormat::Raw);
    for (int c = 0; c < DataColumns; ++c) EXPECT_TRUE(data.Table().Changed(c));

    // Multiple regression empties the averaged statistics of columns without raw data.
    for (int c = 0; c < DataColumns; ++c) data.Table().SetChanged(c, false);
    data.Table().Record(0).mean = 1.0L;  // raw column
    data.Table().Record(0).sd = 0.5L;
    data.Table().SetNoRawData(0, false);
    TypeAveraged(1, "5", "1", "10");
    data.Table().Record(1).sem = 0.3L;
    data.ChangeFormat(DataFormat::MultipleRegression);
    EXPECT_EQ(data.Table().Record(0).mean, 1.0L);
    EXPECT_EQ(data.Table().Record(0).sd, 0.5L);
    EXPECT_EQ(data.Table().Record(1).mean, MissingValue);
    EXPECT_EQ(data.Table().Record(1).sd, MissingValue);
    EXPECT_EQ(data.Table().Record(1).sem, MissingValue);
    for (int c = 0; c < DataColumns; ++c) EXPECT_TRUE(data.Table().Changed(c));
    // The table's cells survive every change of format.
    data.Table().SetValue(3, 3, 8.0L);
    for (DataFormat f : AllDataFormats) data.ChangeFormat(f);
    EXPECT_EQ(data.Table().Value(3, 3), 8.0L);
}

TEST_F(DataSetTest, DataPageInXYFormatEmptiesTitlesFromColumnC) {
    for (int c = 0; c < DataColumns; ++c) data.Table().Record(c).title.assign(1, 'T');
    data.PrepareDataPage();  // raw format: nothing happens
    EXPECT_EQ(data.Table().Record(5).title, "T");
    data.SetFormat(DataFormat::XY);
    data.PrepareDataPage();
    EXPECT_EQ(data.Table().Record(0).title, "T");
    EXPECT_EQ(data.Table().Record(1).title, "T");
    for (int c = 2; c < DataColumns; ++c) EXPECT_EQ(data.Table().Record(c).title, "");
}

TEST_F(DataSetTest, RawEntryIntoAveragedColumnAnsweredNo) {
    TypeAveraged(2, "5", "1", "10");
    prompts.answers = {PromptAnswer::No};
    const int before = modified;
    EXPECT_FALSE(data.EnterRawValue(3, 2, 7.0L, prompts));
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0],
              "Column C contains data entered as mean and error. You cannot enter raw data "
              "without erasing the mean data. Erase mean data?");
    EXPECT_TRUE(data.Table().IsMissing(3, 2));
    EXPECT_TRUE(data.Table().NoRawData(2));
    EXPECT_EQ(data.Table().Record(2).mean, 5.0L);
    EXPECT_EQ(modified, before);
}

TEST_F(DataSetTest, RawEntryIntoAveragedColumnAnsweredYes) {
    TypeAveraged(2, "5", "1", "10");
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(data.EnterRawValue(3, 2, 7.0L, prompts));
    EXPECT_EQ(data.Table().Value(3, 2), 7.0L);
    EXPECT_FALSE(data.Table().NoRawData(2));
    EXPECT_EQ(data.Table().Record(2).mean, MissingValue);
    EXPECT_EQ(data.Table().Record(2).sd, MissingValue);
    EXPECT_EQ(data.Table().Record(2).sem, MissingValue);
    EXPECT_TRUE(data.Table().Changed(2));
    // The column now holds raw data: no more questions.
    EXPECT_TRUE(data.EnterRawValue(4, 2, 8.0L, prompts));
    EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(DataSetTest, RawEntryWithoutAveragedDataAsksNothing) {
    EXPECT_TRUE(data.EnterRawValue(0, 4, 1.5L, prompts));
    EXPECT_FALSE(data.Table().NoRawData(4));
    EXPECT_EQ(modified, 1);
    // Emptying a cell of an averaged column asks nothing either.
    TypeAveraged(5, "5", "1", "10");
    EXPECT_TRUE(data.EnterRawValue(0, 5, MissingValue, prompts));
    EXPECT_TRUE(data.Table().NoRawData(5));
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_FALSE(data.EnterRawValue(DataRows, 0, 1.0L, prompts));
    EXPECT_FALSE(data.EnterRawValue(0, DataColumns, 1.0L, prompts));
}

TEST_F(DataSetTest, NumberTitleAnsweredYesGoesIntoFirstRow) {
    NumberTitleQuestionMemory memory;
    prompts.answers = {PromptAnswer::Yes};
    const ColumnTitleResult result = data.EnterColumnTitle(1, "12,5", Comma, prompts, memory);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0],
              "You entered a number as the column title. Is this number supposed to go into "
              "the first data row instead?");
    EXPECT_TRUE(result.valueStored);
    EXPECT_EQ(result.title, "");
    EXPECT_EQ(data.Table().Record(1).title, "");
    EXPECT_EQ(data.Table().Value(0, 1), 12.5L);
    EXPECT_FALSE(data.Table().NoRawData(1));
    EXPECT_FALSE(memory.answeredNo);
    EXPECT_GE(modified, 1);
}

TEST_F(DataSetTest, NumberTitleAnsweredNoIsNotAskedAgain) {
    NumberTitleQuestionMemory memory;
    prompts.answers = {PromptAnswer::No};
    ColumnTitleResult result = data.EnterColumnTitle(0, "2001", Point, prompts, memory);
    EXPECT_EQ(result.title, "2001");
    EXPECT_EQ(data.Table().Record(0).title, "2001");
    EXPECT_TRUE(data.Table().IsMissing(0, 0));
    EXPECT_TRUE(memory.answeredNo);
    EXPECT_EQ(modified, 1);

    result = data.EnterColumnTitle(1, "2002", Point, prompts, memory);
    EXPECT_EQ(result.title, "2002");
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(modified, 2);

    // A fresh memory (a new run of the program) asks again.
    NumberTitleQuestionMemory fresh;
    prompts.answers = {PromptAnswer::No};
    data.EnterColumnTitle(2, "3", Point, prompts, fresh);
    EXPECT_EQ(prompts.asked.size(), 2u);
}

TEST_F(DataSetTest, TextTitlesAreKeptCutAndSanitised) {
    NumberTitleQuestionMemory memory;
    data.EnterColumnTitle(0, "Control 1", Point, prompts, memory);
    EXPECT_EQ(data.Table().Record(0).title, "Control 1");
    data.EnterColumnTitle(1, "1.5", Comma, prompts, memory);  // not a number here
    EXPECT_EQ(data.Table().Record(1).title, "1.5");
    std::string longTitle(100, 'x');
    longTitle[3] = static_cast<char>(129);
    data.EnterColumnTitle(2, longTitle, Point, prompts, memory);
    EXPECT_EQ(data.Table().Record(2).title.size(), ColumnRecord::MaxTitle);
    EXPECT_EQ(data.Table().Record(2).title[3], '?');
    EXPECT_TRUE(prompts.asked.empty());
}

// Yes to the title question, then No to erasing the averaged data: the number stays the
// title so that it is not lost.
TEST_F(DataSetTest, NumberTitleIntoAveragedColumnRefused) {
    NumberTitleQuestionMemory memory;
    TypeAveraged(0, "5", "1", "10");
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    const ColumnTitleResult result = data.EnterColumnTitle(0, "42", Point, prompts, memory);
    EXPECT_EQ(prompts.asked.size(), 2u);
    EXPECT_FALSE(result.valueStored);
    EXPECT_EQ(data.Table().Record(0).title, "42");
    EXPECT_TRUE(data.Table().IsMissing(0, 0));
    EXPECT_EQ(data.Table().Record(0).mean, 5.0L);
}

TEST_F(DataSetTest, ResetClearsTableAndTwoByTwo) {
    data.Table().SetValue(0, 0, 1.0L);
    data.TwoByTwo().a = 3.0L;
    data.TwoByTwo().row1Title = "Exposed";
    data.SetFormat(DataFormat::LargerTable);
    data.Reset();
    EXPECT_FALSE(data.Table().HasData());
    EXPECT_TRUE(data.TwoByTwo().AllCellsMissing());
    EXPECT_EQ(data.TwoByTwo().row1Title, "");
    EXPECT_EQ(data.Format(), DataFormat::LargerTable);
}

}  // namespace
}  // namespace zelkon
