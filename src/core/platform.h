// Small interfaces for the platform services the engine needs: questions and messages to
// the user, and the user's separators.  The desktop program, the command line and the
// tests each implement them.
#pragma once

#include <string>
#include <string_view>

namespace zelkon {

/// The user's decimal and list separators (from the system's regional settings).
struct Separators {
    char decimal = '.';
    char list = ',';
};

/// Buttons of a question and the answer given.
enum class PromptButtons { Ok, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

/// Questions and messages.  Every program message has the caption "Kestrane Zelkon".
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    /// Asks a question (Latin-1 text) and returns the user's answer.
    virtual PromptAnswer Ask(std::string_view text, PromptButtons buttons) = 0;
    /// Shows a message with only an OK button.
    virtual void Tell(std::string_view text) = 0;
    /// Sounds the system beep.
    virtual void Beep() {}
};

/// The caption of every message box.
inline constexpr std::string_view MessageCaption = "Kestrane Zelkon";

}  // namespace zelkon
