// The program-wide calculation status and the progress protocol of long exact calculations.
// A run is framed by BeginCalculation/EndCalculation; an exact enumeration calls
// BeginExactCalculation, ReportProgress as it goes, and EndExactCalculation.  The front end
// receives the visible effects through a ProgressHost; the clock is injected so that tests
// can drive time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"

namespace zelkon {

/// A millisecond tick counter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
};

/// The steady clock of the system.
class SystemClock final : public Clock {
public:
    std::int64_t NowMs() override;
};

/// What the front end shows while a run is under way.  Every method does nothing by default.
class ProgressHost {
public:
    virtual ~ProgressHost() = default;
    /// The run started / ended: busy cursor on, results hidden / everything restored.
    virtual void RunStarted() {}
    virtual void RunEnded() {}
    /// Shows the status panel with a message and the Cancel button.
    virtual void ShowStatusPanel(std::string_view /*message*/, std::string_view /*cancelCaption*/) {}
    /// An exact calculation began: panel and Cancel shown, message and labels hidden,
    /// the approximate P label set to the given text.
    virtual void ExactCalculationStarted(std::string_view /*approximateP*/) {}
    /// Shows the progress message and labels (first update) or refreshes their values.
    virtual void ShowProgress(std::string_view /*message*/, std::string_view /*approximateP*/,
                              std::string_view /*percentDone*/, std::string_view /*secondsLeft*/) {}
    /// The exact calculation ended: message, Cancel button and labels hidden.
    virtual void ExactCalculationEnded() {}
    /// Lets the window system process pending input (so that Cancel can be clicked).
    virtual void ProcessPendingInput() {}
};

/// ReportProgress answers.
inline constexpr int ProgressCancelled = 0;
inline constexpr int ProgressContinue = 1;
inline constexpr int ProgressTooLong = 2;

inline constexpr std::string_view StatusPanelMessage = "Performing calculations, please wait...";
inline constexpr std::string_view CancelButtonCaption =
    "Cancel exact calculations. Display approximate answer.";
inline constexpr std::string_view ExactProgressMessage =
    "Calculating exact P value. Click Cancel to use approximate P value.";
inline constexpr std::string_view ApproximatePLabel = "Approximate P = ";
inline constexpr std::string_view PercentDoneLabel = "Percentage Done = ";
inline constexpr std::string_view SecondsLeftLabel = "Seconds Left = ";

/// The calculating and cancel flags, the tick counts and the approximate P value.
class CalcStatus {
public:
    static constexpr std::int64_t StatusTimerMs = 250;
    static constexpr std::int64_t UpdateIntervalMs = 500;
    static constexpr std::int64_t QuietStartMs = 2000;
    static constexpr std::int64_t MaxSecondsLeft = 600;

    /// Uses the system clock and no host until told otherwise.
    CalcStatus();

    void SetClock(Clock* clock);
    void SetHost(ProgressHost* host) { host_ = host; }
    ProgressHost* Host() const { return host_; }

    void BeginCalculation();
    void EndCalculation();
    /// The status timer fired (250 ms after BeginCalculation): shows the waiting panel while
    /// a run is still under way, and switches the timer off.
    void StatusTimerFired();
    bool StatusTimerActive() const { return timerActive_; }

    void BeginExactCalculation(Extended approximateP);
    /// Starts the tick counts of the progress rules afresh without showing anything, for an
    /// exact calculation that reports progress without being framed by
    /// BeginExactCalculation (its time left is then estimated from its own start).
    void RestartProgressClock() { startTick_ = lastTick_ = clock_->NowMs(); }
    /// 1 = continue, 0 = cancelled, 2 = more than 600 seconds estimated.
    int ReportProgress(Extended percentDone);
    void EndExactCalculation();

    /// The Cancel button.
    void RequestCancel() { cancel_ = true; }
    bool Calculating() const { return calculating_; }
    bool CancelRequested() const { return cancel_; }
    Extended ApproximateP() const { return approximateP_; }

private:
    Clock* clock_;
    ProgressHost* host_ = nullptr;
    bool calculating_ = false;
    bool cancel_ = false;
    bool timerActive_ = false;
    std::int64_t startTick_ = 0;
    std::int64_t lastTick_ = 0;
    Extended approximateP_ = MissingValue;
    std::string approximateText_;
};

/// The one calculation status of the program.
CalcStatus& GlobalCalcStatus();

/// The exact calculations' calls on the program-wide status.
void BeginExactCalculation(Extended approximateP);
int ReportProgress(Extended percentDone);
void EndExactCalculation();
inline void RestartProgressClock() { GlobalCalcStatus().RestartProgressClock(); }

}  // namespace zelkon
