// Error 10: a row list that cannot be created.  This program replaces the global allocation
// functions so that one allocation of a chosen size fails; the summary list of the ANOVA
// reports and the row lists of the post tests each have a size of their own.
// GCC takes the free() of the replaced operator delete for a mismatch with operator new,
// which here is malloc() itself.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "analyses/groups/anova_one_way.h"
#include "analyses/groups/multi_column_entry.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "support/test_support.h"

namespace {

// The size of the next allocation to refuse (0: none).
std::size_t refuseSize = 0;
int refused = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (refuseSize != 0 && size == refuseSize) {
        refuseSize = 0;
        ++refused;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace zelkon {
namespace {

struct OutOfMemory : ::testing::Test {
    Document doc;
    AnalysisEntryPoints entries;
    void SetUp() override {
        entries.multiColumn = MultiColumnComparison;
        refused = 0;
        const std::vector<std::vector<double>> columns = {
            {23, 25, 28, 30, 31}, {29, 33, 34, 36, 38, 40}, {35, 38, 40, 43, 45, 47, 50}};
        for (std::size_t c = 0; c < columns.size(); ++c) {
            for (std::size_t r = 0; r < columns[c].size(); ++r) {
                doc.Table().SetValue(static_cast<int>(r), static_cast<int>(c), columns[c][r]);
            }
            doc.Table().SetNoRawData(static_cast<int>(c), false);
        }
        doc.Choices().columns.postTestMode = PostTestMode::Always;
    }
    void RunRefusing(std::size_t size, std::uint8_t kind,
                     std::uint8_t pairMode = PairMode::AllPairs) {
        doc.Choices().columns.postTestKind = kind;
        doc.Choices().columns.pairMode = pairMode;
        doc.MarkModified();
        refused = 0;
        refuseSize = size;
        Calculate(doc, entries);
        refuseSize = 0;
    }
    void ExpectOutOfMemoryMessage() {
        EXPECT_EQ(refused, 1);
        EXPECT_EQ(doc.ErrorCode(), 10);
        const std::vector<std::string> lines = test::PlainLines(doc.Report());
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[1], "Out of memory.  Some calculations performed on large data sets");
        EXPECT_EQ(lines[2], "require additional memory.  Try to free some memory or reduce");
        EXPECT_EQ(lines[3], "the size of the data.");
        EXPECT_TRUE(doc.ResultJson().empty());
    }
};

TEST_F(OutOfMemory, TheSummaryListOfTheOneWayReport) {
    RunRefusing(DataColumns * sizeof(AnalysedColumn), PostTestKind::Tukey);
    ExpectOutOfMemoryMessage();
    // Without the refusal the same run succeeds.
    RunRefusing(0, PostTestKind::Tukey);
    EXPECT_EQ(doc.ErrorCode(), 0);
}

TEST_F(OutOfMemory, TheSummaryListOfTheRepeatedMeasuresReport) {
    // A complete block of five rows: the first five values of each column.
    for (int c = 0; c < 3; ++c) {
        for (int r = 5; r < 7; ++r) doc.Table().SetValue(r, c, MissingValue);
    }
    doc.Choices().columns.unmatched = 0;
    RunRefusing(DataColumns * sizeof(AnalysedColumn), PostTestKind::Tukey);
    ExpectOutOfMemoryMessage();
}

TEST_F(OutOfMemory, TheRowListsOfThePostTests) {
    RunRefusing(BonferroniListCapacity * sizeof(Comparison), PostTestKind::Bonferroni);
    ExpectOutOfMemoryMessage();
    RunRefusing(RangeListCapacity * sizeof(Comparison), PostTestKind::Tukey);
    ExpectOutOfMemoryMessage();
    RunRefusing(RangeListCapacity * sizeof(Comparison), PostTestKind::NewmanKeuls);
    ExpectOutOfMemoryMessage();
    RunRefusing(DunnettListCapacity * sizeof(Comparison), PostTestKind::Dunnett,
                PairMode::AgainstControl);
    ExpectOutOfMemoryMessage();
}

}  // namespace
}  // namespace zelkon
