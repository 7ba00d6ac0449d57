// The results report: appending text with its column, emphasis and capacity rules, the
// closing lines and the line index, and the write-out of a report directed to a file.
#include "core/results_report.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/file_io.h"

namespace zelkon {

namespace {
bool IsSwitch(char c) {
    return c == ResultsReport::Emphasis1 || c == ResultsReport::Emphasis2 ||
           c == ResultsReport::Emphasis3;
}
}  // namespace

void ResultsReport::Append(char c) {
    // Beyond the capacity text is dropped, and so is everything written after the first
    // dropped character: the stored text stays a clean beginning of the report.
    if (full_ || text_.size() >= Capacity) {
        full_ = true;
        return;
    }
    text_.push_back(c);
    if (!IsSwitch(c)) ++column_;
}

void ResultsReport::AppendRaw(std::string_view s) {
    for (char c : s) Append(c);
}

void ResultsReport::Write(std::string_view text) {
    text = text.substr(0, MaxTextArgument);
    const std::size_t first = text.find_first_not_of(Switches);
    if (first != std::string_view::npos) StartField(text[first]);
    AppendRaw(text);
}

void ResultsReport::SeparateNextField() {
    if (!FollowsBlank()) separate_ = true;
}

void ResultsReport::StartField(char first) {
    if (!separate_) return;
    separate_ = false;
    if (first != ' ' && !FollowsBlank()) Append(' ');
}

void ResultsReport::WriteLine(std::string_view text) {
    Write(text);
    NewLine();
}

void ResultsReport::NewLine() {
    separate_ = false;
    // A line end goes in whole (closing switches, CR and LF) or not at all, so that a full
    // buffer never holds a lone CR or a line whose emphasis is left open before its end.
    const std::size_t closing = (emphasis1_ ? 1 : 0) + (emphasis2_ ? 1 : 0);
    if (text_.size() + closing + 2 > Capacity) {
        full_ = true;
        return;
    }
    if (emphasis1_) Append(Emphasis1);
    if (emphasis2_) Append(Emphasis2);
    Append('\r');
    Append('\n');
    ++lineCount_;
    column_ = 1;
    if (emphasis1_) Append(Emphasis1);
    if (emphasis2_) Append(Emphasis2);
}

void ResultsReport::PadToColumn(int n) {
    while (column_ < n && !full_) Append(' ');
}

void ResultsReport::WriteRule(int n) {
    if (n > 0) StartField('=');
    for (int i = 0; i < n; ++i) Append('=');
}

void ResultsReport::WriteDashes(int n) {
    if (n > 0) StartField('-');
    for (int i = 0; i < n; ++i) Append('-');
}

void ResultsReport::ToggleEmphasis1() {
    emphasis1_ = !emphasis1_;
    Append(Emphasis1);
}

void ResultsReport::ToggleEmphasis2() {
    emphasis2_ = !emphasis2_;
    Append(Emphasis2);
}

void ResultsReport::ClearTabs() { tabs_.clear(); }

void ResultsReport::AddTab(int column) {
    if (tabs_.size() < MaxTabs) tabs_.push_back(column);
}

void ResultsReport::NextTab() {
    // A field that reaches up to a stop is kept apart from the next one by a blank, rather
    // than the next being sent on to the stop after (which left no stop for the last field
    // of the row and ran it into its neighbour); a next field that begins with a blank
    // starts at the stop itself.
    const bool afterField = !FollowsBlank();
    if (afterField && std::find(tabs_.begin(), tabs_.end(), column_) != tabs_.end()) {
        SeparateNextField();
        return;
    }
    int target = 0;
    for (int t : tabs_) {
        if (t > column_ && (target == 0 || t < target)) target = t;
    }
    if (target > 0) {
        PadToColumn(target);
    } else {
        SeparateNextField();
    }
}

bool ResultsReport::FollowsBlank() const {
    for (auto c = text_.rbegin(); c != text_.rend(); ++c) {
        if (*c == Emphasis1 || *c == Emphasis2 || *c == Emphasis3) continue;
        return *c == ' ' || *c == '\n';
    }
    return true;
}

void ResultsReport::WriteInteger(std::int64_t i) { Write(std::to_string(i)); }

void ResultsReport::WriteIntegerWidth(std::int64_t i, int w) {
    std::string s = std::to_string(i);
    if (static_cast<int>(s.size()) < w) s.insert(0, static_cast<std::size_t>(w) - s.size(), ' ');
    Write(s);
}

std::string ResultsReport::Centre(std::string_view text, int width) {
    // The field is at most 80 characters wide, so that centring never cuts the text.
    width = std::min(width, static_cast<int>(MaxTextArgument));
    std::string t(text.substr(0, MaxTextArgument));
    const int len = static_cast<int>(t.size());
    if (width <= len) return t;
    const int before = (width - len) / 2;
    std::string out(static_cast<std::size_t>(before), ' ');
    out += t;
    out.resize(static_cast<std::size_t>(width), ' ');
    return out;
}

void ResultsReport::Reset() {
    text_.clear();
    column_ = 1;
    lineCount_ = 0;
    emphasis1_ = false;
    emphasis2_ = false;
    finished_ = false;
    full_ = false;
    separate_ = false;
}

std::unique_ptr<ResultsReport> ResultsReport::CreateSideReport() {
    return std::make_unique<ResultsReport>();
}

void ResultsReport::AppendReport(const ResultsReport& side) {
    for (const std::string& line : side.AllLines()) {
        AppendRaw(line);
        NewLine();
    }
}

bool ResultsReport::FinishReport() {
    if (column_ > 1) NewLine();
    NewLine();
    WriteLine(ClosingLine);
    NewLine();
    NewLine();
    while (lineCount_ < static_cast<int>(MinFinishedLines) && !full_) NewLine();
    finished_ = true;
    if (!filePath_.empty()) {
        // A missing file simply starts empty; an existing file that cannot be read is left
        // alone rather than replaced by the report alone.
        std::string previous;
        std::error_code ec;
        const bool existed = std::filesystem::exists(filePath_, ec) || ec;
        if (!ReadWholeFile(filePath_, previous) && existed) {
            filePath_.clear();
            return false;
        }
        const bool ok = WriteFileAtomically(filePath_, previous + text_);
        filePath_.clear();
        return ok;
    }
    return true;
}

void ResultsReport::DirectToFile(std::string path) { filePath_ = std::move(path); }

std::vector<std::string> ResultsReport::AllLines() const {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text_.size()) {
        const std::size_t end = text_.find("\r\n", start);
        if (end == std::string::npos) {
            lines.emplace_back(text_.substr(start));
            break;
        }
        lines.emplace_back(text_.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> ResultsReport::Lines() const {
    std::vector<std::string> lines = AllLines();
    if (lines.size() > MaxIndexedLines) lines.resize(MaxIndexedLines);
    for (std::string& line : lines) {
        if (line.size() > MaxLineLength) line.resize(MaxLineLength);
    }
    return lines;
}

}  // namespace zelkon
