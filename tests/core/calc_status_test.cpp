#include "core/calc_status.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zelkon {
namespace {

class FakeClock : public Clock {
public:
    std::int64_t now = 100000;
    std::int64_t NowMs() override { return now; }
};

class RecordingHost : public ProgressHost {
public:
    std::vector<std::string> events;
    std::function<void()> onInput;
    void RunStarted() override { events.push_back("started"); }
    void RunEnded() override { events.push_back("ended"); }
    void ShowStatusPanel(std::string_view message, std::string_view cancel) override {
        events.push_back("panel:" + std::string(message) + "|" + std::string(cancel));
    }
    void ExactCalculationStarted(std::string_view p) override {
        events.push_back("exact:" + std::string(p));
    }
    void ShowProgress(std::string_view message, std::string_view p, std::string_view percent,
                      std::string_view seconds) override {
        events.push_back("progress:" + std::string(message) + "|" + std::string(p) + "|" +
                         std::string(percent) + "|" + std::string(seconds));
    }
    void ExactCalculationEnded() override { events.push_back("exact-ended"); }
    void ProcessPendingInput() override {
        if (onInput) onInput();
    }
};

struct CalcStatusFixture : ::testing::Test {
    FakeClock clock;
    RecordingHost host;
    CalcStatus status;
    void SetUp() override {
        status.SetClock(&clock);
        status.SetHost(&host);
    }
};

TEST_F(CalcStatusFixture, StatusPanelAppearsOnlyWhileARunIsUnderWay) {
    status.BeginCalculation();
    EXPECT_TRUE(status.Calculating());
    status.StatusTimerFired();
    status.StatusTimerFired();  // the timer is switched off after firing once
    status.EndCalculation();
    status.StatusTimerFired();
    ASSERT_EQ(host.events.size(), 3u);
    EXPECT_EQ(host.events[0], "started");
    EXPECT_EQ(host.events[1],
              "panel:Performing calculations, please wait...|"
              "Cancel exact calculations. Display approximate answer.");
    EXPECT_EQ(host.events[2], "ended");
    EXPECT_FALSE(status.Calculating());
}

TEST_F(CalcStatusFixture, TimerFiringAfterTheRunShowsNothing) {
    status.BeginCalculation();
    status.EndCalculation();
    status.StatusTimerFired();
    EXPECT_EQ(host.events.size(), 2u);
}

TEST_F(CalcStatusFixture, ExactCalculationShowsApproximatePWithFiveDecimals) {
    status.BeginCalculation();
    status.BeginExactCalculation(0.0123456L);
    EXPECT_FALSE(status.StatusTimerActive());
    EXPECT_EQ(host.events.back(), "exact:0.01235");
}

TEST_F(CalcStatusFixture, NoUpdatesWithinHalfASecondNorDuringTheFirstTwoSeconds) {
    status.BeginCalculation();
    status.BeginExactCalculation(0.5L);
    const std::size_t before = host.events.size();
    clock.now += 400;
    EXPECT_EQ(status.ReportProgress(10), ProgressContinue);
    clock.now += 1000;  // 1.4 s: past the 500 ms gap but inside the quiet start
    EXPECT_EQ(status.ReportProgress(20), ProgressContinue);
    clock.now += 600;  // exactly 2.0 s: "at most 2000 ms" still quiet
    EXPECT_EQ(status.ReportProgress(30), ProgressContinue);
    EXPECT_EQ(host.events.size(), before);
}

TEST_F(CalcStatusFixture, ProgressLabelsAfterTwoSeconds) {
    status.BeginCalculation();
    status.BeginExactCalculation(0.04321L);
    clock.now += 3000;
    // 3000 ms elapsed at 25 %: 3000 * 75 / 25 = 9000 ms, 9 s left.
    EXPECT_EQ(status.ReportProgress(25), ProgressContinue);
    EXPECT_EQ(host.events.back(),
              "progress:Calculating exact P value. Click Cancel to use approximate P value."
              "|0.04321|25.0|9");
    // Within 500 ms of that update nothing is refreshed.
    clock.now += 500;
    const std::size_t count = host.events.size();
    EXPECT_EQ(status.ReportProgress(30), ProgressContinue);
    EXPECT_EQ(host.events.size(), count);
}

TEST_F(CalcStatusFixture, GivesUpWhenMoreThanTenMinutesAreEstimated) {
    status.BeginCalculation();
    status.BeginExactCalculation(0.5L);
    // 3000 ms at 0.5 %: 3000 * 99.5 / 0.5 = 597000 ms = 597 s, still allowed.
    clock.now += 3000;
    EXPECT_EQ(status.ReportProgress(0.5L), ProgressContinue);
    // 6010 ms at 1 %: 6010 * 99 / 1 = 594990 ms -> 594 s, allowed; at 0.9 % -> 661 s, too long.
    clock.now += 3010;
    EXPECT_EQ(status.ReportProgress(0.9L), ProgressTooLong);
}

TEST_F(CalcStatusFixture, ZeroPercentAfterTheQuietStartIsTooLongNotADivisionByZero) {
    status.BeginCalculation();
    status.BeginExactCalculation(0.5L);
    clock.now += 2500;
    EXPECT_EQ(status.ReportProgress(0), ProgressTooLong);
}

TEST_F(CalcStatusFixture, CancelTakesEffectAtTheNextCheckedCall) {
    status.BeginCalculation();
    status.BeginExactCalculation(0.5L);
    host.onInput = [this] { status.RequestCancel(); };  // the user clicks Cancel
    clock.now += 100;
    EXPECT_EQ(status.ReportProgress(1), ProgressContinue);  // within 500 ms of the start
    clock.now += 500;
    EXPECT_EQ(status.ReportProgress(2), ProgressCancelled);
    status.EndExactCalculation();
    EXPECT_EQ(host.events.back(), "exact-ended");
    // The next run starts with the cancel flag cleared.
    host.onInput = nullptr;
    status.EndCalculation();
    status.BeginCalculation();
    EXPECT_FALSE(status.CancelRequested());
}

TEST(CalcStatusWithoutHost, CallsDoNothingVisible) {
    CalcStatus status;
    FakeClock clock;
    status.SetClock(&clock);
    status.BeginCalculation();
    status.StatusTimerFired();
    status.BeginExactCalculation(0.1L);
    clock.now += 5000;
    EXPECT_EQ(status.ReportProgress(50), ProgressContinue);
    status.EndExactCalculation();
    status.EndCalculation();
}

}  // namespace
}  // namespace zelkon
