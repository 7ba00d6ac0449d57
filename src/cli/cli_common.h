// Shared pieces of the command-line front end: the user's separators from the locale,
// option scanning, the prompts of a program without a user at hand, loading a data file
// with the messages the desktop program shows.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"
#include "document/document.h"

namespace zelkon::cli {

/// The arguments of one command (the words after the command name).
struct Arguments {
    std::vector<std::string> words;

    /// Removes "--name VALUE" (or "--name=VALUE") and returns VALUE.
    std::optional<std::string> TakeOption(std::string_view name);
    /// Removes "-o VALUE" or "--output VALUE" (the file a command writes) and returns VALUE.
    std::optional<std::string> TakeOutput();
    /// Removes the flag "--name" and returns whether it was there.
    bool TakeFlag(std::string_view name);
    /// The words that are not options, in order.
    std::vector<std::string> Positional() const;
    /// The first word that still starts with "--" (an unknown option), if any.
    std::optional<std::string> UnknownOption() const;
};

/// The decimal and list separators of the locale (LC_NUMERIC), overridden by
/// "--decimal-separator C" and "--list-separator C", which are taken from the arguments.
/// On a bad override, writes a message to `err` and returns nothing.
std::optional<Separators> SeparatorsFromLocale(Arguments& args, std::ostream& err);

/// Questions answered without a user: every question gets the answer given at construction
/// (No unless told otherwise), and every question and message is written to `err`.
class BatchPrompts final : public UserPrompts {
public:
    BatchPrompts(std::ostream& err, PromptAnswer answer = PromptAnswer::No);
    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override;
    void Tell(std::string_view text) override;

private:
    std::ostream& err_;
    PromptAnswer answer_;
};

/// Opens a data file into a new document as the desktop program does (format detection,
/// version check, reading).  On failure writes the message to `err` and returns nothing; a
/// file that opened only partly is returned after its warning is written.
std::unique_ptr<Document> OpenDataFile(const std::string& path, std::ostream& err);

/// Saves a document to a data file; writes "Error: #..." to `err` and returns false on
/// failure.
bool SaveDocument(Document& document, const std::string& path, std::ostream& err);

/// Exit codes.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

}  // namespace zelkon::cli
