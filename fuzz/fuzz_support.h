// Pieces shared by the fuzz targets: questions answered without a user, a scratch file per
// fuzzing process, and a stop that libFuzzer records as a crash when a property fails.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include "core/platform.h"

namespace zelkon::fuzz {

/// Answers every question with the answer it was given; messages are dropped.
class QuietPrompts final : public UserPrompts {
public:
    explicit QuietPrompts(PromptAnswer answer = PromptAnswer::Yes) : answer_(answer) {}
    PromptAnswer Ask(std::string_view, PromptButtons buttons) override {
        if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
        if (buttons == PromptButtons::YesNo && answer_ == PromptAnswer::Cancel) return PromptAnswer::No;
        return answer_;
    }
    void Tell(std::string_view) override { ++messages; }
    int messages = 0;

private:
    PromptAnswer answer_;
};

/// A small hash of the input, for choices that should vary with it without taking bytes
/// away from the text under test.
inline std::uint32_t InputHash(std::string_view text) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

/// The path of a scratch file of this fuzzing process ("zelkon-<name>-<pid><extension>"),
/// in /dev/shm where it can be written (no disk behind it), else in /tmp.
inline std::string ScratchPath(std::string_view name, std::string_view extension) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/zelkon-" + std::string(name) + "-" + std::to_string(getpid()) +
           std::string(extension);
}

/// Stops the run with a message; libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

}  // namespace zelkon::fuzz
