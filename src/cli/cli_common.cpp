#include "cli/cli_common.h"

#include <cerrno>
#include <clocale>
#include <ostream>

#include "core/file_io.h"
#include "core/latin1.h"
#include "document/data_file.h"

namespace zelkon::cli {

std::optional<std::string> Arguments::TakeOutput() {
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == "-o") {
            std::string value = words[i + 1];
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                        words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return value;
        }
    }
    return TakeOption("output");
}

std::optional<std::string> Arguments::TakeOption(std::string_view name) {
    const std::string flag = "--" + std::string(name);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == flag && i + 1 < words.size()) {
            std::string value = words[i + 1];
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                        words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return value;
        }
        if (words[i].rfind(flag + "=", 0) == 0) {
            std::string value = words[i].substr(flag.size() + 1);
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
            return value;
        }
    }
    return std::nullopt;
}

bool Arguments::TakeFlag(std::string_view name) {
    const std::string flag = "--" + std::string(name);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == flag) {
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::vector<std::string> Arguments::Positional() const {
    std::vector<std::string> out;
    for (const std::string& w : words) {
        if (w.rfind("--", 0) != 0 || w == "-") out.push_back(w);
    }
    return out;
}

std::optional<std::string> Arguments::UnknownOption() const {
    for (const std::string& w : words) {
        if (w.rfind("--", 0) == 0 && w.size() > 2) return w;
    }
    return std::nullopt;
}

std::optional<Separators> SeparatorsFromLocale(Arguments& args, std::ostream& err) {
    Separators separators;
    // The user's numeric locale, as the environment sets it.
    if (const char* name = std::setlocale(LC_NUMERIC, ""); name != nullptr) {
        const std::lconv* conv = std::localeconv();
        if (conv != nullptr && conv->decimal_point != nullptr && conv->decimal_point[0] != '\0' &&
            conv->decimal_point[1] == '\0') {
            separators.decimal = conv->decimal_point[0];
        }
        std::setlocale(LC_NUMERIC, "C");  // the engine formats with "." itself
    }
    // Where the decimal separator is a comma, lists are separated by semicolons.
    separators.list = separators.decimal == ',' ? ';' : ',';
    for (const char* name : {"decimal-separator", "list-separator"}) {
        if (std::optional<std::string> value = args.TakeOption(name)) {
            if (value->size() != 1) {
                err << "zelkon-cli: --" << name << " takes one character\n";
                return std::nullopt;
            }
            (std::string_view(name) == "decimal-separator" ? separators.decimal
                                                            : separators.list) = (*value)[0];
        }
    }
    if (separators.decimal == separators.list) {
        err << "zelkon-cli: the decimal and list separators must differ\n";
        return std::nullopt;
    }
    return separators;
}

BatchPrompts::BatchPrompts(std::ostream& err, PromptAnswer answer) : err_(err), answer_(answer) {}

PromptAnswer BatchPrompts::Ask(std::string_view text, PromptButtons buttons) {
    PromptAnswer answer = answer_;
    if (buttons == PromptButtons::Ok) answer = PromptAnswer::Ok;
    if (buttons == PromptButtons::YesNo && answer == PromptAnswer::Cancel) answer = PromptAnswer::No;
    const char* word = answer == PromptAnswer::Yes ? "yes" : answer == PromptAnswer::No ? "no"
                       : answer == PromptAnswer::Cancel ? "cancel" : "ok";
    err_ << Latin1ToUtf8(text) << " [answered " << word << "]\n";
    return answer;
}

void BatchPrompts::Tell(std::string_view text) { err_ << Latin1ToUtf8(text) << '\n'; }

std::unique_ptr<Document> OpenDataFile(const std::string& path, std::ostream& err) {
    const DataFileOpenCheck check = CheckDataFileForOpening(path);
    if (check.code == 0) {
        // Why the file was refused: the file system's answer first, then the check's message.
        std::string text;
        const FileReadStatus status = ReadFileWithin(path, DataFileReadLimit, text);
        if (status.fault == ReadFault::System && status.error == ENOENT) {
            err << "zelkon-cli: " << path << ": no such file\n";
        } else if (status.fault == ReadFault::NotRegularFile) {
            err << "zelkon-cli: " << path << ": cannot be read: not a regular file\n";
        } else if (status.fault == ReadFault::System) {
            err << "zelkon-cli: " << path << ": cannot be read\n";
        } else {
            err << "zelkon-cli: " << path << ": " << Latin1ToUtf8(check.message) << '\n';
        }
        return nullptr;
    }
    auto document = std::make_unique<Document>();
    DataFileContents contents{document->Data(), document->Choices(), document->Notes(),
                              document->Graph()};
    const std::int32_t result = LoadDataFile(contents, path, check.code);
    if (result != 0 && result != IoErrorInvalidNumericFormat) {
        const std::string text = IoErrorText(result);
        err << "zelkon-cli: " << path << ": " << (text.empty() ? "cannot be read" : text) << '\n';
        return nullptr;
    }
    if (result == IoErrorInvalidNumericFormat) {
        err << "zelkon-cli: " << path << ": " << IoErrorText(result)
            << " (the file was read only up to that point)\n";
    }
    document->SetFileName(path);
    document->SetUntitled(false);
    document->SetModified(false);
    document->SetNeedsRecalculation(true);
    return document;
}

bool SaveDocument(Document& document, const std::string& path, std::ostream& err) {
    DataFileContents contents{document.Data(), document.Choices(), document.Notes(),
                              document.Graph()};
    const std::int32_t result = SaveDataFile(contents, path);
    if (result != 0) {
        const std::string text = IoErrorText(result);
        err << "zelkon-cli: " << path << ": "
            << (text.empty() ? "Error: #" + std::to_string(result) : text) << '\n';
        return false;
    }
    document.SetFileName(path);
    document.SetUntitled(false);
    document.SetModified(false);
    return true;
}

}  // namespace zelkon::cli
