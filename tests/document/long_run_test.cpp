// The long-run check: every example data file is opened, edited, saved, reopened and
// recomputed over and over in one process.  Each round must give the same report and result
// as the first, and the process must not grow.  ZELKON_LONG_RUN_ROUNDS sets the rounds
// (a few dozen by default; the test labelled slow runs thousands).  Leaks are LeakSanitizer's
// to find in the sanitizer build; the resident size is checked in the other builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/cli_common.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "support/test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZELKON_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELKON_UNDER_ASAN 1
#endif
#endif

namespace zelkon {
namespace {

namespace fs = std::filesystem;

int Rounds() {
    const char* text = std::getenv("ZELKON_LONG_RUN_ROUNDS");
    const int rounds = text != nullptr ? std::atoi(text) : 0;
    return rounds > 0 ? rounds : 30;
}

long ResidentKilobytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    long pages = 0;
    long resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
    std::fclose(f);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

std::vector<std::string> Examples() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(ZELKON_SOURCE_DIR "/examples")) {
        if (entry.path().extension() == ".ZLD") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct Outcome {
    std::string report;
    std::string json;
    std::int32_t errorCode = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome OutcomeOf(Document& doc) {
    Calculate(doc);
    return {doc.Report().Text(), doc.ResultJson(), doc.ErrorCode()};
}

// One round on one example: open, edit (data title and notes), recompute, save, reopen and
// recompute; the reopened document must give what the edited one gave.
Outcome Round(const std::string& example, const std::string& saved) {
    std::ostringstream err;
    std::unique_ptr<Document> doc = cli::OpenDataFile(example, err);
    EXPECT_NE(doc, nullptr) << err.str();
    if (!doc) return {};
    doc->Table().SetDataTitle("Checked again");
    doc->Notes() += "\r\nChecked again.\r\n";
    doc->MarkModified();
    const Outcome edited = OutcomeOf(*doc);
    EXPECT_TRUE(cli::SaveDocument(*doc, saved, err)) << err.str();
    std::unique_ptr<Document> reopened = cli::OpenDataFile(saved, err);
    EXPECT_NE(reopened, nullptr) << err.str();
    if (!reopened) return {};
    EXPECT_EQ(reopened->Notes(), doc->Notes());
    const Outcome back = OutcomeOf(*reopened);
    EXPECT_EQ(back, edited) << example << ": the reopened file computes differently";
    return back;
}

TEST(LongRun, EveryExampleOpensEditsSavesAndRecomputesTheSameEveryRound) {
    const int rounds = Rounds();
    const std::vector<std::string> examples = Examples();
    ASSERT_GE(examples.size(), 7u);
    const std::string dir = test::MakeTempDir();
    std::map<std::string, Outcome> first;
    long residentAfterWarmUp = 0;
    const int warmUp = std::min(rounds / 2, 10);
    for (int round = 0; round < rounds; ++round) {
        for (const std::string& example : examples) {
            const std::string saved = dir + "/" + fs::path(example).filename().string();
            const Outcome outcome = Round(example, saved);
            auto [it, isFirst] = first.emplace(example, outcome);
            if (!isFirst && !(outcome == it->second)) {
                ADD_FAILURE() << example << " gives a different report in round " << round;
                fs::remove_all(dir);
                return;
            }
            if (isFirst) {
                EXPECT_FALSE(outcome.report.empty()) << example;
            }
        }
        if (round + 1 == warmUp) residentAfterWarmUp = ResidentKilobytes();
        if (::testing::Test::HasFailure()) break;
    }
    const long growth = ResidentKilobytes() - residentAfterWarmUp;
    std::printf("%d rounds of %zu examples; resident size grew by %ld KB after round %d\n", rounds,
                examples.size(), growth, warmUp);
#ifndef ZELKON_UNDER_ASAN
    // After the warm-up the allocator has what it needs; a leak of even a few hundred bytes
    // per round shows over a thousand rounds.
    EXPECT_LT(growth, 4096) << "the process grows as it runs";
#endif
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zelkon
