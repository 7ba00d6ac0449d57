// The results report: the text into which every analysis writes its sentences and tables.
// At most 50000 characters of 8-bit text, lines ending in CR LF, the bytes 128, 129 and 130
// toggling the first (bold), second (underline) and third (italic) emphasis.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelkon {

class ResultsReport {
public:
    static constexpr std::size_t Capacity = 50000;
    static constexpr std::size_t MaxTextArgument = 80;
    static constexpr std::size_t MaxIndexedLines = 1000;
    static constexpr std::size_t MaxLineLength = 255;
    static constexpr std::size_t MaxTabs = 20;
    static constexpr std::size_t MinFinishedLines = 21;
    static constexpr char Emphasis1 = static_cast<char>(128);
    static constexpr char Emphasis2 = static_cast<char>(129);
    static constexpr char Emphasis3 = static_cast<char>(130);
    static constexpr char EndMarker = static_cast<char>(26);
    /// The closing line of every finished report: 23 blanks, then three asterisks.
    static constexpr std::string_view ClosingLine = "                       *     *     *";

    ResultsReport() = default;

    /// Appends text (cut to 80 characters) to the current line.
    void Write(std::string_view text);
    /// Appends text and ends the line.
    void WriteLine(std::string_view text);
    /// Ends the line: open emphases are closed before CR LF and reopened after it.  At the
    /// capacity a line end is stored whole or not at all; once anything was dropped, every
    /// later character is dropped too.
    void NewLine();
    /// Appends blanks until the current column is n (1-based).
    void PadToColumn(int n);
    /// Appends n "=" / n "-" characters.
    void WriteRule(int n);
    void WriteDashes(int n);
    /// Flips the first / second emphasis and appends its switch character.
    void ToggleEmphasis1();
    void ToggleEmphasis2();

    void ClearTabs();
    void AddTab(int column);
    /// Pads with blanks to the first tab stop right of the current column.  Fields stay
    /// apart: when the text just written reaches up to a stop (the current column is the
    /// stop), or no stop lies to the right, the column stays and the next field is kept
    /// apart (SeparateNextField).
    void NextTab();
    /// The next text written on this line starts with a blank when neither it nor the text
    /// before has one there, so that two fields never run together; text that already
    /// follows a blank is left as it is.
    void SeparateNextField();
    /// True at the start of a line or after a blank (style switches are skipped): the next
    /// field written here does not run into the text before it.
    bool FollowsBlank() const;

    void WriteInteger(std::int64_t i);
    /// The decimal text of i right-aligned in w characters (a longer text is written whole).
    void WriteIntegerWidth(std::int64_t i, int w);

    /// The text (cut to 80) centred in a field of the given width, narrowed to at most 80
    /// characters; blanks before are half the free space rounded down.  A text longer than
    /// the field is returned whole.
    static std::string Centre(std::string_view text, int width);

    /// Discards the text; column back to 1, emphases off, tabs kept.
    void Reset();

    /// A second, empty report in which a table can be collected while another is written.
    static std::unique_ptr<ResultsReport> CreateSideReport();
    /// Appends every line of the side report and ends it; lines are taken whole, even when
    /// wider than one 80-character text argument.
    void AppendReport(const ResultsReport& side);

    /// Appends the closing lines, pads the report to at least 21 lines and builds the line
    /// index; a report directed to a file is written out (false when that fails).
    bool FinishReport();

    /// Directs the report to a text file to which the finished text is appended (an existing
    /// file that cannot be read is left untouched and finishing reports failure).
    void DirectToFile(std::string path);

    /// The whole text written so far (without the end marker).
    const std::string& Text() const { return text_; }
    /// Current 1-based column; style switches do not advance it.
    int Column() const { return column_; }
    /// Number of lines ended so far.
    int LineCount() const { return lineCount_; }
    /// True when nothing has been written since the last Reset.
    bool IsEmpty() const { return text_.empty(); }
    bool IsFinished() const { return finished_; }

    /// The indexed lines of a finished report (at most 1000, each at most 255 characters,
    /// without CR LF but with their style switches).
    std::vector<std::string> Lines() const;
    /// All lines of the text, without CR LF (the last line if unterminated included).
    std::vector<std::string> AllLines() const;

private:
    /// The three style switches, which take no column.
    static constexpr char SwitchChars[] = {Emphasis1, Emphasis2, Emphasis3, '\0'};
    static constexpr std::string_view Switches{SwitchChars, 3};

    void Append(char c);
    /// Keeps a field apart as SeparateNextField asked, before text beginning with `first`.
    void StartField(char first);
    void AppendRaw(std::string_view s);

    std::string text_;
    int column_ = 1;
    int lineCount_ = 0;
    bool emphasis1_ = false;
    bool emphasis2_ = false;
    bool finished_ = false;
    bool full_ = false;  // something was dropped at the capacity; later text is dropped too
    bool separate_ = false;  // the next field on this line is kept apart from the text before
    std::vector<int> tabs_;
    std::string filePath_;
};

}  // namespace zelkon
