// One-way ANOVA against the certified results of NIST's Statistical Reference Datasets:
// at least 10 significant digits (log relative error) in F, the sums of squares and the
// mean squares for SiRstv, AtmWtAg, SmLs01, SmLs02, SmLs04 and SmLs05, and at least 4.5
// for SmLs07 and SmLs08, whose values near 1e12 already lose digits when read into 80 bits.
// The sets of three or more groups go the whole way through the analysis run and its JSON
// (what `zelkon-cli report --json` prints); AtmWtAg has two groups, which the column run
// would send to the t test, so it calls the entry routine directly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analyses/groups/multi_column_entry.h"
#include "document/analysis_run.h"
#include "document/document.h"

namespace zelkon {
namespace {

struct CertifiedRow {
    std::int32_t df = 0;
    Extended ss = 0;
    Extended ms = 0;
    Extended f = 0;
};

struct NistSet {
    CertifiedRow between;
    CertifiedRow within;
    std::vector<std::vector<Extended>> groups;  // values per treatment, as decimal text read
};

NistSet ReadNistSet(const std::string& name) {
    std::ifstream in(std::string(ZELKON_NIST_DIR) + "/" + name + ".dat");
    EXPECT_TRUE(in) << name;
    NistSet set;
    std::string line;
    bool data = false;
    std::vector<std::string> lines;
    while (std::getline(in, line)) lines.push_back(line);
    // The data start after the last line that begins with "Data:".
    std::size_t dataStart = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("Data:", 0) == 0) dataStart = i + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string first, second;
        words >> first;
        if (i >= dataStart && dataStart > 0) {
            data = true;
            std::string value;
            if (!(words >> value)) continue;
            const int group = std::atoi(first.c_str());
            if (group < 1) continue;
            if (set.groups.size() < static_cast<std::size_t>(group))
                set.groups.resize(static_cast<std::size_t>(group));
            set.groups[static_cast<std::size_t>(group - 1)].push_back(
                std::strtold(value.c_str(), nullptr));
        } else if (first == "Between" || first == "Within") {
            std::string df, ss, ms, f;
            words >> second >> df >> ss >> ms >> f;
            CertifiedRow& row = first == "Between" ? set.between : set.within;
            row.df = std::atoi(df.c_str());
            row.ss = std::strtold(ss.c_str(), nullptr);
            row.ms = std::strtold(ms.c_str(), nullptr);
            if (!f.empty()) row.f = std::strtold(f.c_str(), nullptr);
        }
    }
    EXPECT_TRUE(data) << name;
    return set;
}

void Fill(DataTable& table, const NistSet& set) {
    for (std::size_t g = 0; g < set.groups.size(); ++g) {
        const int c = static_cast<int>(g);
        for (std::size_t i = 0; i < set.groups[g].size(); ++i) {
            table.SetValue(static_cast<int>(i), c, set.groups[g][i]);
        }
        table.SetNoRawData(c, false);
        table.Record(c).n = static_cast<std::int32_t>(set.groups[g].size());
    }
}

Extended JsonNumber(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":");
    EXPECT_NE(at, std::string::npos) << key;
    if (at == std::string::npos) return 0;
    return std::strtold(json.c_str() + at + key.size() + 3, nullptr);
}

// Log relative error: the number of leading digits that agree.
double Lre(Extended computed, Extended certified) {
    const Extended error = std::fabs(computed - certified);
    if (error == 0) return 19.0;
    return static_cast<double>(-std::log10(error / std::fabs(certified)));
}

void ExpectCertified(const std::string& json, const NistSet& set, double digits,
                     const std::string& name) {
    EXPECT_EQ(static_cast<std::int32_t>(JsonNumber(json, "dfTreatment")), set.between.df) << name;
    EXPECT_EQ(static_cast<std::int32_t>(JsonNumber(json, "dfResidual")), set.within.df) << name;
    EXPECT_GE(Lre(JsonNumber(json, "ssTreatment"), set.between.ss), digits) << name;
    EXPECT_GE(Lre(JsonNumber(json, "ssResidual"), set.within.ss), digits) << name;
    EXPECT_GE(Lre(JsonNumber(json, "msTreatment"), set.between.ms), digits) << name;
    EXPECT_GE(Lre(JsonNumber(json, "msResidual"), set.within.ms), digits) << name;
    EXPECT_GE(Lre(JsonNumber(json, "f"), set.between.f), digits) << name;
}

std::string RunThroughTheColumnRun(const NistSet& set) {
    Document doc;
    Fill(doc.Table(), set);
    doc.MarkModified();
    AnalysisEntryPoints entries;
    entries.multiColumn = MultiColumnComparison;
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    return doc.ResultJson();
}

class NistAnova : public ::testing::TestWithParam<const char*> {};

TEST_P(NistAnova, MeetsTheCertifiedValuesToTenDigits) {
    const NistSet set = ReadNistSet(GetParam());
    ASSERT_GE(set.groups.size(), 3u);
    ExpectCertified(RunThroughTheColumnRun(set), set, 10.0, GetParam());
}

INSTANTIATE_TEST_SUITE_P(LowerAndAverageDifficulty, NistAnova,
                         ::testing::Values("SiRstv", "SmLs01", "SmLs02", "SmLs04", "SmLs05"));

TEST(NistAnovaHigherDifficulty, SmLs07AndSmLs08MeetFourAndAHalfDigits) {
    for (const char* name : {"SmLs07", "SmLs08"}) {
        const NistSet set = ReadNistSet(name);
        ASSERT_EQ(set.groups.size(), 9u);
        ExpectCertified(RunThroughTheColumnRun(set), set, 4.5, name);
    }
}

TEST(NistAnovaTwoGroups, AtmWtAgThroughTheEntryRoutine) {
    const NistSet set = ReadNistSet("AtmWtAg");
    ASSERT_EQ(set.groups.size(), 2u);
    DataTable table;
    Fill(table, set);
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    const std::array<std::uint8_t, PairFlagCount> flags = AllPairFlagsSet();
    const MultiColumnRequest request{
        table, false, true, flags, false, true, 0, PostTestMode::None, PostTestKind::Tukey};
    MultiColumnComparison(request, out);
    ASSERT_EQ(out.errorCode, 0);
    ExpectCertified(out.resultJson, set, 10.0, "AtmWtAg");
}

}  // namespace
}  // namespace zelkon
