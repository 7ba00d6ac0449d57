// Column headings of the grids by data format, written out by hand from the heading rules.
#include "core/column_headings.h"

#include <gtest/gtest.h>

namespace zelkon {
namespace {

TEST(ColumnHeadingsTest, HeadingsFollowTheFormat) {
    EXPECT_EQ(ColumnHeading(DataFormat::XY, 0), "X");
    EXPECT_EQ(ColumnHeading(DataFormat::XY, 1), "Y1");
    EXPECT_EQ(ColumnHeading(DataFormat::XY, 25), "Y25");
    EXPECT_EQ(ColumnHeading(DataFormat::Raw, 0), "Group A");
    EXPECT_EQ(ColumnHeading(DataFormat::MeanSDN, 2), "Group C");
    EXPECT_EQ(ColumnHeading(DataFormat::MeanSEMN, 25), "Group Z");
    EXPECT_EQ(ColumnHeading(DataFormat::MultipleRegression, 1), "Variable B");
    EXPECT_EQ(ColumnHeading(DataFormat::LargerTable, 3), "Outcome D");
    // The two-by-two format leaves the headings as they were.
    EXPECT_FALSE(ColumnHeading(DataFormat::TwoByTwo, 0).has_value());
    // Outside the data columns there is no heading.
    EXPECT_EQ(ColumnHeading(DataFormat::Raw, 26), "");
    EXPECT_EQ(ColumnHeading(DataFormat::Raw, -1), "");
}

TEST(ColumnHeadingsTest, StatisticsGridTakesHeadingsExceptForXY) {
    for (DataFormat f : AllDataFormats) {
        EXPECT_EQ(StatisticsGridTakesHeadings(f), f != DataFormat::XY);
    }
}

}  // namespace
}  // namespace zelkon
