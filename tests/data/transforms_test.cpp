// Tests of transforms, combining columns and number format.
#include "data/transforms.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "data/combine_columns.h"
#include "data/data_messages.h"
#include "data/number_format.h"
#include "data/scripted_prompts.h"

namespace zelkon {
namespace {

void Put(DataTable& t, int row, int column, Extended v) {
    t.SetValue(row, column, v);
    t.SetNoRawData(column, false);
}

// Transforms -----------------------------------------------------------------------------------

TEST(TransformValueTest, AgreesWithR) {
    // R: y <- 0.7; c(y^2, log10(y), log(y), 10^y, exp(y), 1/y, sqrt(y), log(y/(1-y)),
    //    sin(y), cos(y), tan(y), asin(y), abs(-y), 2.5*y, y+2.5, y-2.5, y/2.5)
    const Extended expected[TransformCount] = {
        0.48999999999999994L, -0.15490195998574319L, -0.35667494393873245L,
        5.01187233627272199L, 2.01375270747047663L,  1.42857142857142860L,
        0.83666002653407556L, 0.84729786038720345L,  0.64421768723769102L,
        0.76484218728448850L, 0.84228838046307941L,  0.77539749661075297L,
        0.7L,                 1.75L,                 3.2L,
        -1.8L,                0.28L};
    for (int code = 1; code <= TransformCount; ++code) {
        const Extended k = code == 8 ? 1.0L : 2.5L;
        const Extended y = code == 13 ? -0.7L : 0.7L;
        const Extended e = expected[code - 1];
        // R works in double precision: agreement to 1e-15 relative.
        EXPECT_NEAR(TransformValue(code, y, k), e, 1e-15L * std::fabs(e)) << "code " << code;
    }
    // R: log(0.25/(2-0.25)) -- LOGIT divides by K - Y.
    EXPECT_NEAR(TransformValue(8, 0.25L, 2), -1.9459101490553135L, 1e-15L);
}

TEST(TransformValueTest, UndefinedValuesAreMissing) {
    EXPECT_TRUE(IsMissingValue(TransformValue(2, 0, 0)));
    EXPECT_TRUE(IsMissingValue(TransformValue(2, -1, 0)));
    EXPECT_TRUE(IsMissingValue(TransformValue(3, 0, 0)));
    EXPECT_TRUE(IsMissingValue(TransformValue(6, 0, 0)));
    EXPECT_TRUE(IsMissingValue(TransformValue(7, -0.01L, 0)));
    EXPECT_TRUE(IsMissingValue(TransformValue(8, 0, 1)));
    EXPECT_TRUE(IsMissingValue(TransformValue(8, 1, 1)));
    EXPECT_EQ(TransformValue(8, 0.5, 1), 0.0L);
    EXPECT_TRUE(IsMissingValue(TransformValue(12, 1.5, 0)));
    EXPECT_EQ(TransformValue(12, 1, 0), std::asin(1.0L));
    EXPECT_TRUE(IsMissingValue(TransformValue(17, 5, 0)));
    EXPECT_EQ(TransformValue(11, 0, 0), 0.0L);
    EXPECT_TRUE(IsMissingValue(TransformValue(14, MissingValue, 2)));
    EXPECT_TRUE(IsMissingValue(TransformValue(0, 1, 1)));
    EXPECT_TRUE(IsMissingValue(TransformValue(18, 1, 1)));
}

TEST(TransformValueTest, ResultsThatAreNoNumberAreMissingAndLeaveNoFlags) {
    std::feclearexcept(FE_ALL_EXCEPT);
    volatile Extended big = 20000;
    EXPECT_TRUE(IsMissingValue(TransformValue(5, big, 0)));        // exp overflows
    EXPECT_TRUE(IsMissingValue(TransformValue(4, big, 0)));        // 10^20000
    EXPECT_TRUE(IsMissingValue(TransformValue(1, 1e3000L, 0)));    // square overflows
    EXPECT_TRUE(IsMissingValue(TransformValue(8, 0.7L, 0.5L)));    // ln of a negative ratio
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
}

TEST(TransformEntriesTest, ListAndDefaults) {
    const auto& entries = TransformEntries();
    EXPECT_EQ(entries[0].text, "Y=Y squared");
    EXPECT_EQ(entries[3].text, "Y=10^Y");
    EXPECT_EQ(entries[7].text, "Y=LOGIT(Y)");
    EXPECT_TRUE(entries[7].usesK);
    EXPECT_EQ(entries[7].defaultK, 1.0L);
    EXPECT_EQ(entries[DefaultTransformCode - 1].text, "Y=K*Y");
    EXPECT_EQ(entries[DefaultTransformCode - 1].defaultK, 1.0L);
    EXPECT_EQ(entries[14].text, "Y=Y+K");
    EXPECT_EQ(entries[14].defaultK, 0.0L);
    EXPECT_EQ(entries[16].text, "Y=Y/K");
    int withK = 0;
    for (const TransformEntry& e : entries) withK += e.usesK ? 1 : 0;
    EXPECT_EQ(withK, 5);
}

class TransformSelectionTest : public ::testing::Test {
protected:
    DataTable& Table() { return doc.Table(); }
    Document doc;
    test::ScriptedPrompts prompts;
};

TEST_F(TransformSelectionTest, ImpossibleValuesAreCountedAndErasedOnlyAfterYes) {
    Put(Table(), 0, 0, 0);
    Put(Table(), 1, 0, 10);
    Put(Table(), 2, 0, -1);
    Table().SetExcluded(1, 0, true);
    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    EXPECT_FALSE(TransformSelection(doc, Selection::Block(0, 0, 5, 0), 2, 0, prompts));
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0],
              "The transformation you have selected is mathematically impossible with 2 of the "
              "values. These values will be erased. Continue?");
    EXPECT_EQ(Table().Value(1, 0), 10.0L);
    EXPECT_FALSE(doc.Modified());

    EXPECT_TRUE(TransformSelection(doc, Selection::Block(0, 0, 5, 0), 2, 0, prompts));
    EXPECT_TRUE(Table().IsMissing(0, 0));
    EXPECT_EQ(Table().Value(1, 0), 1.0L);
    EXPECT_TRUE(Table().IsExcluded(1, 0));  // the mark stays with the value
    EXPECT_TRUE(Table().IsMissing(2, 0));
    EXPECT_TRUE(doc.Modified());
}

TEST_F(TransformSelectionTest, DivisionByZeroEmptiesTheColumn) {
    Put(Table(), 0, 1, 4);
    Put(Table(), 1, 1, 6);
    prompts.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(TransformSelection(doc, Selection::Columns(1, 1), 17, 0, prompts));
    EXPECT_NE(prompts.asked[0].find(" with 2 of the values. "), std::string::npos);
    EXPECT_FALSE(Table().ColumnHasValue(1));
    EXPECT_TRUE(Table().NoRawData(1));
}

TEST_F(TransformSelectionTest, CurrentCellOnlyAndDecimalsOfTheResult) {
    Put(Table(), 0, 0, 3);
    Put(Table(), 1, 0, 5);
    EXPECT_TRUE(TransformSelection(doc, Selection::Cell(0, 0), 6, 0, prompts));
    EXPECT_EQ(Table().Value(0, 0), 1 / 3.0L);
    EXPECT_EQ(Table().Value(1, 0), 5.0L);
    EXPECT_EQ(Table().Decimals(0), 8);  // 0.33333333 by the stored-number rule
    EXPECT_TRUE(prompts.asked.empty());
}

// Combine -----------------------------------------------------------------------------------------

class CombineTest : public TransformSelectionTest {
protected:
    CombineDialog Choose(CombineChoice choice) {
        return [this, choice](const CombineSetup& s) {
            setup = s;
            return std::optional<CombineChoice>(choice);
        };
    }
    CombineSetup setup;
};

TEST_F(CombineTest, AMinusBWithAGap) {
    for (int r = 0; r < 4; ++r) Put(Table(), r, 0, 10 + r);
    for (int r = 0; r < 4; ++r) {
        if (r != 2) Put(Table(), r, 1, 0.5 * r);
    }
    ASSERT_TRUE(CombineColumns(doc, 0, prompts, Choose({0, 1, CombineOperation::Minus})));
    EXPECT_EQ(setup.targetColumn, 2);  // A holds values: the first empty column
    EXPECT_EQ(setup.columnsWithValues, (std::vector<int>{0, 1}));
    EXPECT_EQ(Table().Record(2).title, "A-B");
    EXPECT_EQ(Table().Value(0, 2), 10.0L);
    EXPECT_EQ(Table().Value(1, 2), 10.5L);
    EXPECT_TRUE(Table().IsMissing(2, 2));
    EXPECT_EQ(Table().Value(3, 2), 11.5L);
    EXPECT_EQ(Table().Decimals(2), 1);
    EXPECT_FALSE(Table().NoRawData(2));
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(CombineTargetText(2), "Create a new variable for column C");
}

TEST_F(CombineTest, OperationsDivisionByZeroAndTheTargetColumn) {
    Put(Table(), 0, 0, 1.5);
    Put(Table(), 1, 0, 3);
    Put(Table(), 0, 2, 1.25);
    Put(Table(), 1, 2, 0);
    // The current column E is empty: it becomes the new column.
    ASSERT_TRUE(CombineColumns(doc, 4, prompts, Choose({0, 2, CombineOperation::Times})));
    EXPECT_EQ(setup.targetColumn, 4);
    EXPECT_EQ(Table().Record(4).title, "A*C");
    EXPECT_EQ(Table().Value(0, 4), 1.875L);
    EXPECT_EQ(Table().Decimals(4), 3);
    ASSERT_TRUE(CombineColumns(doc, 5, prompts, Choose({0, 2, CombineOperation::DividedBy})));
    EXPECT_EQ(Table().Record(5).title, "A/C");
    EXPECT_EQ(Table().Value(0, 5), 1.2L);
    EXPECT_TRUE(Table().IsMissing(1, 5));
    ASSERT_TRUE(CombineColumns(doc, 0, prompts, Choose({2, 0, CombineOperation::Plus})));
    EXPECT_EQ(setup.targetColumn, 1);
    EXPECT_EQ(Table().Record(1).title, "C+A");
    // An averaged-data column is not empty.
    Table().Record(3).n = 10;
    Table().Record(3).mean = 5;
    ASSERT_TRUE(CombineColumns(doc, 3, prompts, Choose({0, 2, CombineOperation::Minus})));
    EXPECT_EQ(setup.targetColumn, 6);
    // Cancel fills nothing.
    EXPECT_FALSE(CombineColumns(doc, 7, prompts, [](const CombineSetup&) {
        return std::optional<CombineChoice>();
    }));
    EXPECT_FALSE(Table().ColumnHasValue(7));
}

TEST_F(CombineTest, MessagesThatEndTheCommand) {
    EXPECT_FALSE(CombineColumns(doc, 0, prompts, Choose({0, 1, CombineOperation::Minus})));
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0], "You must enter data first.");
    for (int c = 0; c < DataColumns; ++c) Put(Table(), 0, c, c);
    EXPECT_FALSE(CombineColumns(doc, 0, prompts, Choose({0, 1, CombineOperation::Minus})));
    ASSERT_EQ(prompts.told.size(), 2u);
    EXPECT_EQ(prompts.told[1], "There must be an empty column in order to combine columns.");
}

// Number format -------------------------------------------------------------------------------------

TEST(NumberFormatTest, TargetTexts) {
    EXPECT_EQ(NumberFormatTargetText(true, 0, 25), "For columns A-Z:");
    EXPECT_EQ(NumberFormatTargetText(false, 1, 3), "For columns B-D:");
    EXPECT_EQ(NumberFormatTargetText(false, 2, 2), "For column C:");
    Selection block = Selection::Block(4, 1, 9, 3);
    NumberFormatTarget t = NumberFormatTargetOf(block);
    EXPECT_EQ(t.firstColumn, 1);
    EXPECT_EQ(t.lastColumn, 3);
    t = NumberFormatTargetOf(Selection::Cell(2, 5));
    EXPECT_EQ(t.firstColumn, 5);
    EXPECT_EQ(t.lastColumn, 5);
    EXPECT_TRUE(NumberFormatTargetOf(Selection::All()).everything);
}

TEST(NumberFormatTest, FixedThenAutomaticRestoresTheDecimalsTheValuesNeed) {
    Document doc;
    DataTable& t = doc.Table();
    Put(t, 0, 0, 1.5);
    Put(t, 0, 1, 12.345L);
    Put(t, 1, 1, 2);
    Put(t, 0, 2, 100);
    Put(t, 1, 2, 1 / 3.0L);  // as a transform leaves it: 8 decimals
    t.SetDecimals(0, 1);
    t.SetDecimals(1, 3);
    t.SetDecimals(2, 8);

    std::string caption;
    auto dialog = [&](NumberFormatChoice choice) {
        return [&caption, choice](const std::string& text, const NumberFormatChoice&) {
            caption = text;
            return std::optional<NumberFormatChoice>(choice);
        };
    };
    const Selection aToC = Selection::Block(0, 0, 5, 2);
    std::vector<int> redrawn = SetNumberFormat(doc, aToC, dialog({false, 2}));
    EXPECT_EQ(caption, "For columns A-C:");
    EXPECT_EQ(redrawn, (std::vector<int>{0, 1, 2}));
    for (int c = 0; c < 3; ++c) EXPECT_EQ(t.DisplayFormat(c), 2);
    const NumberFormatChoice shown = CurrentNumberFormat(t, NumberFormatTargetOf(aToC));
    EXPECT_FALSE(shown.automatic);
    EXPECT_EQ(shown.decimals, 2);

    t.SetDecimals(0, 6);  // whatever they became meanwhile, automatic recounts them
    t.SetDecimals(1, 0);
    redrawn = SetNumberFormat(doc, aToC, dialog({true, 0}));
    EXPECT_EQ(redrawn.size(), 3u);
    EXPECT_EQ(t.DisplayFormat(0), -1);
    EXPECT_EQ(t.Decimals(0), 1);
    EXPECT_EQ(t.Decimals(1), 3);
    EXPECT_EQ(t.Decimals(2), 8);
    // Mixed formats open the dialog on automatic.
    t.SetDisplayFormat(1, 4);
    EXPECT_TRUE(CurrentNumberFormat(t, NumberFormatTargetOf(aToC)).automatic);
    // Cancel changes nothing.
    EXPECT_TRUE(SetNumberFormat(doc, aToC, [](const std::string&, const NumberFormatChoice&) {
                    return std::optional<NumberFormatChoice>();
                }).empty());
}

}  // namespace
}  // namespace zelkon
