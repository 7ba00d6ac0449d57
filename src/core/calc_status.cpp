#include "core/calc_status.h"

#include <chrono>
#include <cstdio>

namespace zelkon {

std::int64_t SystemClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {
SystemClock& DefaultClock() {
    static SystemClock clock;
    return clock;
}

std::string FormatFixed(Extended value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
    return buffer;
}
}  // namespace

CalcStatus::CalcStatus() : clock_(&DefaultClock()) {}

void CalcStatus::SetClock(Clock* clock) { clock_ = clock != nullptr ? clock : &DefaultClock(); }

void CalcStatus::BeginCalculation() {
    calculating_ = true;
    cancel_ = false;
    timerActive_ = true;
    if (host_ != nullptr) host_->RunStarted();
}

void CalcStatus::EndCalculation() {
    calculating_ = false;
    timerActive_ = false;
    if (host_ != nullptr) host_->RunEnded();
}

void CalcStatus::StatusTimerFired() {
    if (!timerActive_) return;
    timerActive_ = false;
    if (calculating_ && host_ != nullptr) {
        host_->ShowStatusPanel(StatusPanelMessage, CancelButtonCaption);
    }
}

void CalcStatus::BeginExactCalculation(Extended approximateP) {
    timerActive_ = false;
    startTick_ = clock_->NowMs();
    lastTick_ = startTick_;
    approximateP_ = approximateP;
    approximateText_ = FormatFixed(approximateP, 5);
    if (host_ != nullptr) host_->ExactCalculationStarted(approximateText_);
}

int CalcStatus::ReportProgress(Extended percentDone) {
    if (host_ != nullptr) host_->ProcessPendingInput();
    const std::int64_t now = clock_->NowMs();
    if (now - lastTick_ <= UpdateIntervalMs) return ProgressContinue;
    if (cancel_) return ProgressCancelled;
    if (now - startTick_ <= QuietStartMs) return ProgressContinue;
    lastTick_ = now;
    const std::int64_t elapsed = now - startTick_;
    // With no progress yet the remaining time cannot be bounded: treat it as too long
    // rather than dividing by zero.
    if (!(percentDone > 0)) return ProgressTooLong;
    const Extended left = static_cast<Extended>(elapsed) * (100 - percentDone) / percentDone;
    if (left > static_cast<Extended>(MaxSecondsLeft + 1) * 1000) return ProgressTooLong;
    const std::int64_t secondsLeft = static_cast<std::int64_t>(left) / 1000;
    if (secondsLeft > MaxSecondsLeft) return ProgressTooLong;
    if (host_ != nullptr) {
        host_->ShowProgress(ExactProgressMessage, approximateText_, FormatFixed(percentDone, 1),
                            std::to_string(secondsLeft));
    }
    return ProgressContinue;
}

void CalcStatus::EndExactCalculation() {
    if (host_ != nullptr) host_->ExactCalculationEnded();
}

CalcStatus& GlobalCalcStatus() {
    static CalcStatus status;
    return status;
}

void BeginExactCalculation(Extended approximateP) {
    GlobalCalcStatus().BeginExactCalculation(approximateP);
}

int ReportProgress(Extended percentDone) { return GlobalCalcStatus().ReportProgress(percentDone); }

void EndExactCalculation() { GlobalCalcStatus().EndExactCalculation(); }

}  // namespace zelkon
