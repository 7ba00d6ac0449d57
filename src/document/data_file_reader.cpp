// The data file reader: the five layouts read line by line, mirroring the writer.  Reading
// never trusts the file: every index is checked, every choice is held to the values it can
// take, and lines of any length are read whole.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/latin1.h"
#include "core/number_parse.h"
#include "core/stored_number.h"
#include "document/data_file.h"
#include "stats/column_stats.h"

namespace zelkon {

namespace {

constexpr std::int32_t MaxDisplayDecimals = 30;  // a fixed number format beyond this is junk

// The lines of the file as fields.  After a line that should hold a whole number but does
// not, the error 106 stands and every later read does nothing.
class FieldReader {
public:
    FieldReader(std::string_view text, Separators separators)
        : lines_(text), separators_(separators) {}

    std::int32_t Error() const { return error_; }
    /// The reader's checkpoint in the later sections: true at the end of the file or after
    /// an error.
    bool Stopped() const { return error_ != 0 || lines_.AtEnd(); }

    /// The next line; false (and an empty line) at the end of the file or after an error.
    bool Line(std::string_view& line) {
        line = {};
        if (error_ != 0) return false;
        return lines_.Next(line);
    }
    void Skip() {
        std::string_view line;
        Line(line);
    }
    /// The position, for looking ahead.
    DataFileLines Position() const { return lines_; }
    void Resume(const DataFileLines& at) { lines_ = at; }

    /// A whole number.  A missing or blank line reads as 0; any other text that is not a
    /// 32-bit whole number raises the error 106.  False when nothing was read.
    bool Integer(std::int32_t& value) {
        if (error_ != 0) return false;
        std::string_view line;
        lines_.Next(line);
        if (TrimBlanks(line).empty()) {
            value = 0;
            return true;
        }
        std::int64_t parsed = 0;
        if (!ParseInteger(line, parsed) || parsed < INT32_MIN || parsed > INT32_MAX) {
            error_ = IoErrorInvalidNumericFormat;
            return false;
        }
        value = static_cast<std::int32_t>(parsed);
        return true;
    }
    /// A whole number held to [low, high]: a value outside leaves the field as it is.
    template <typename T>
    void Choice(T& field, std::int32_t low, std::int32_t high) {
        std::int32_t value = 0;
        if (Integer(value) && value >= low && value <= high) field = static_cast<T>(value);
    }
    /// A stored number: empty or unreadable text is the missing value.
    void Number(Extended& field) {
        std::string_view line;
        if (error_ != 0) return;
        lines_.Next(line);
        field = ParseValue(line);
    }
    /// A number of a choice, which has no missing state: an empty or unreadable line leaves
    /// the field as it is.
    void NumberChoice(Extended& field) {
        Extended value = field;
        Number(value);
        if (!IsMissingValue(value)) field = value;
    }
    /// A flag: true only for "T" as the first character.
    bool Flag() {
        std::string_view line;
        Line(line);
        return !line.empty() && line.front() == 'T';
    }
    void Flag(bool& field) {
        if (error_ == 0) field = Flag();
    }
    void Flag(std::uint8_t& field) {
        if (error_ == 0) field = Flag() ? 1 : 0;
    }
    /// A title: at most `limit` characters, the rest of the line ignored.
    void Text(std::string& field, std::size_t limit) {
        std::string_view line;
        if (error_ != 0) return;
        lines_.Next(line);
        field = SanitizeLatin1(CutText(line, limit));
    }

    Extended ParseValue(std::string_view text) const {
        Extended value = MissingValue;
        if (!ParseNumberWithPoint(text, separators_, value)) return MissingValue;
        return value;
    }
    char Decimal() const { return separators_.decimal; }

private:
    DataFileLines lines_;
    Separators separators_;
    std::int32_t error_ = 0;
};

// Shared sections ---------------------------------------------------------------------------

void ReadRawDataLine(FieldReader& in, DataTable& table, int row, std::string_view line) {
    int column = 0;
    std::size_t pos = 0;
    while (pos < line.size() && column < DataColumns) {
        if (line[pos] == ',') {
            ++pos;
            continue;
        }
        std::size_t end = line.find(',', pos);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view field = line.substr(pos, end - pos);
        pos = end;
        Extended value = MissingValue;
        if (field != "*") value = in.ParseValue(field);
        if (!IsMissingValue(value)) {
            const std::int32_t decimals = FieldDecimals(field, in.Decimal());
            if (decimals > table.Decimals(column)) table.SetDecimals(column, decimals);
            table.SetValue(row, column, value);
            table.SetNoRawData(column, false);
        }
        ++column;
    }
}

void ReadRawData(FieldReader& in, DataTable& table) {
    for (int c = 0; c < DataColumns; ++c) table.SetNoRawData(c, true);
    bool ended = false;
    std::string_view line;
    for (int row = 0; row < DataRows; ++row) {
        if (!in.Line(line)) {
            ended = true;
            break;
        }
        if (line == EndRawDataMarker) {
            ended = true;
            break;
        }
        ReadRawDataLine(in, table, row, line);
    }
    // A section that fills every row of the table (or holds more rows than it) still ends
    // at its marker: the lines up to it are passed over, so that the next section is read
    // from the right place.
    if (!ended) {
        FieldReader ahead = in;
        while (ahead.Line(line)) {
            if (line == EndRawDataMarker) {
                in.Resume(ahead.Position());
                break;
            }
        }
    }
    for (int c = 0; c < DataColumns; ++c) table.SetChanged(c, false);
}

// Lines up to the marker (or the end), each followed by CR LF, at most 8006 characters; a
// line that is a marker followed by blanks loses the blank the writer added.
void ReadNotes(FieldReader& in, std::string& notes) {
    std::string buffer;
    std::string_view line;
    while (in.Line(line)) {
        if (line == EndNotesMarker) break;
        std::size_t end = line.size();
        while (end > 0 && line[end - 1] == ' ') --end;
        if (end < line.size() && IsSectionMarker(line.substr(0, end))) line.remove_suffix(1);
        if (buffer.size() < NotesReadLimit) {
            buffer += line.substr(0, NotesReadLimit - buffer.size());
            buffer += "\r\n";
            if (buffer.size() > NotesReadLimit) buffer.resize(NotesReadLimit);
        }
    }
    // The text is kept without a final line break, as the notes editor stores it.
    if (buffer.size() >= 2 && buffer.compare(buffer.size() - 2, 2, "\r\n") == 0) {
        buffer.resize(buffer.size() - 2);
    } else if (!buffer.empty() && buffer.back() == '\r') {
        buffer.pop_back();
    }
    notes = SanitizeLatin1(buffer);
}

void ReadRowTitles(FieldReader& in, DataTable& table) {
    std::string_view line;
    while (in.Line(line)) {
        if (line == EndRowTitlesMarker) break;
        std::int64_t index = -1;
        if (!ParseInteger(TrimBlanks(line.substr(0, 6)), index)) continue;
        if (index < 0 || index >= DataRows) continue;
        const std::string_view title = line.size() > 6 ? line.substr(6) : std::string_view{};
        table.SetRowTitle(static_cast<int>(index), title);
    }
}

// The 26 display formats; the reader stops at the end of the file before each line.
// Returns false when it stopped.
bool ReadNumberFormats(FieldReader& in, DataTable& table) {
    for (int c = 0; c < DataColumns; ++c) {
        if (in.Stopped()) return false;
        std::int32_t format = -1;
        if (!in.Integer(format)) return false;
        if (format < -1 || format > MaxDisplayDecimals) format = -1;
        table.SetDisplayFormat(c, format);
    }
    if (in.Stopped()) return false;
    in.Skip();  // "<<END DEC PT DATA>>"
    return true;
}

void ReadExclusions(FieldReader& in, DataTable& table) {
    std::string_view line;
    bool started = false;
    while (in.Line(line)) {
        if (line == StartExcludeFlagsMarker) {
            started = true;
            break;
        }
    }
    if (!started) return;
    for (int row = 0; in.Line(line); ++row) {
        if (line == EndExcludeFlagsMarker) break;
        if (row >= DataRows) continue;
        const int columns = static_cast<int>(std::min<std::size_t>(line.size(), DataColumns));
        for (int c = 0; c < columns; ++c) {
            if (line[static_cast<std::size_t>(c)] == '*') table.SetExcluded(row, c, true);
        }
    }
}

// The decimal places of a column of averaged data, raised as typing the mean and the error
// raised them: to the decimals of each as the file holds it, so that none is hidden.
void ShowAveragedDigits(DataTable& table, int column, bool errorIsSD) {
    const ColumnRecord& record = table.Record(column);
    for (const Extended v : {record.mean, errorIsSD ? record.sd : record.sem}) {
        if (IsMissingValue(v) || NeedsExponentForm(v)) continue;
        const std::int32_t decimals = FieldDecimals(FormatStoredNumber(v));
        if (decimals > table.Decimals(column)) table.SetDecimals(column, decimals);
    }
}

void SkipHeader(FieldReader& in) {
    for (int i = 0; i < 6; ++i) in.Skip();
}

// Column-data layout (codes 1 to 3) ----------------------------------------------------------

void ReadColumnChoices(FieldReader& in, ColumnAnalysisChoices& ch) {
    in.Choice(ch.columnCountClass, 0, 3);
    in.Choice(ch.oneColumnNonparametric, 0, 1);
    in.NumberChoice(ch.hypotheticalValue);
    in.Choice(ch.oneColumnTwoSided, 0, 1);
    in.Choice(ch.oneColumnColumn, -1, DataColumns - 1);
    in.Choice(ch.hypotheticalValueChoice, 0, 3);
    in.Choice(ch.twoColumnNonparametric, 0, 1);
    in.Choice(ch.unpaired, 0, 1);
    in.Choice(ch.twoColumnTwoSided, 0, 1);
    in.Choice(ch.firstColumn, 0, DataColumns - 1);
    in.Choice(ch.secondColumn, 0, DataColumns - 1);
    in.Flag(ch.equalSDs);
    in.Choice(ch.unmatched, 0, 1);
    in.Choice(ch.multiColumnNonparametric, 0, 1);
    in.Choice(ch.postTestMode, 0, 2);
    in.Choice(ch.pairMode, 0, 2);
    in.Choice(ch.controlColumn, 0, DataColumns - 1);
    in.Choice(ch.postTestKind, 0, 4);
    std::string_view flags;
    if (in.Line(flags)) {
        const std::size_t n = std::min<std::size_t>(flags.size(), PairFlagCount);
        for (std::size_t k = 0; k < n; ++k) ch.pairFlags[k] = flags[k] == 'T' ? 1 : 0;
    }
    in.Skip();  // "<<END CHOICES>>"
}

void ReadColumnDataLayout(FieldReader& in, const DataFileContents& doc) {
    DataTable& table = doc.data.Table();
    SkipHeader(in);
    std::string title;
    in.Text(title, DataTable::MaxDataTitle);
    table.SetDataTitle(title);
    ReadRawData(in, table);
    for (int c = 0; c < DataColumns; ++c) {
        ColumnRecord& rec = table.Record(c);
        std::int32_t index = 0;
        in.Integer(index);
        in.Text(rec.title, ColumnRecord::MaxTitle);
        in.Choice(rec.n, 0, INT32_MAX);
        for (Extended* v : {&rec.mean, &rec.sd, &rec.sem, &rec.minimum, &rec.maximum,
                            &rec.median, &rec.upper95, &rec.lower95}) {
            in.Number(*v);
        }
        in.Skip();
    }
    in.Skip();  // "<<END STAT DATA>>"
    ReadColumnChoices(in, doc.choices.columns);
    ReadNotes(in, doc.notes);
    for (int c = 0; c < DataColumns; ++c) {
        bool selected = true;
        if (in.Error() != 0) break;
        in.Flag(selected);
        table.SetSelected(c, selected);
    }
    in.Skip();  // "<<END SELECTED FLAGS>>"

    // From here on, files of older versions may end at any line.
    if (in.Stopped()) return;
    ReadRowTitles(in, table);
    if (!ReadNumberFormats(in, table)) return;
    if (in.Stopped()) return;
    doc.choices.allColumns = in.Flag() ? 1 : 0;
    doc.choices.dataColumnCountSeen = doc.data.DataColumnCount();
    if (in.Stopped()) return;
    in.Skip();
    for (int c = 0; c < DataColumns; ++c) {
        ColumnRecord& rec = table.Record(c);
        if (in.Stopped()) return;
        in.Number(rec.ks);
        if (in.Stopped()) return;
        in.Number(rec.ksp);
        if (in.Stopped()) return;
        in.Flag(rec.passed);
    }
    if (in.Stopped()) return;
    in.Skip();
    if (in.Stopped()) return;
    ReadExclusions(in, table);
}

// The other layouts -------------------------------------------------------------------------

void ReadXYLayout(FieldReader& in, const DataFileContents& doc) {
    DataTable& table = doc.data.Table();
    XYChoices& xy = doc.choices.xy;
    SkipHeader(in);
    std::string title;
    in.Text(title, DataTable::MaxDataTitle);
    table.SetDataTitle(title);
    in.Flag(xy.regression);
    in.Flag(xy.runsTest);
    in.Flag(xy.forceThroughPoint);
    in.NumberChoice(xy.ForceX);
    in.NumberChoice(xy.ForceY);
    in.Choice(xy.correlationKind, 0, 2);
    // Files written before the standard-curve flag existed go straight to the marker.
    std::string_view line;
    if (in.Line(line) && line != EndChoicesMarker) {
        xy.interpolate = !line.empty() && line.front() == 'T' ? 1 : 0;
        in.Skip();
    }
    for (int c = 0; c < DataColumns; ++c) {
        std::int32_t index = 0;
        in.Integer(index);
        in.Text(table.Record(c).title, ColumnRecord::MaxTitle);
    }
    in.Skip();  // "<<TITLES>>"
    ReadRawData(in, table);
    ReadNotes(in, doc.notes);
    if (in.Stopped()) return;
    ReadRowTitles(in, table);
    if (!ReadNumberFormats(in, table)) return;
    if (in.Stopped()) return;
    ReadExclusions(in, table);
}

void ReadTwoByTwoLayout(FieldReader& in, const DataFileContents& doc) {
    TwoByTwoChoices& ch = doc.choices.twoByTwo;
    TwoByTwoRecord& rec = doc.data.TwoByTwo();
    SkipHeader(in);
    std::int32_t test = 0;
    if (in.Integer(test)) ch.test = TwoByTwoTestFromFile(test);
    in.Flag(ch.yates);
    in.Choice(ch.twoSided, 0, 1);
    in.Flag(ch.relativeRisk);
    in.Flag(ch.oddsRatio);
    in.Flag(ch.relativeRisk2);
    if (ch.relativeRisk != 0 || ch.relativeRisk2 != 0) ch.relativeRisk = ch.relativeRisk2 = 1;
    for (Extended* v : {&rec.a, &rec.b, &rec.c, &rec.d}) in.Number(*v);
    for (std::string* label : {&rec.column1Title, &rec.column2Title, &rec.row1Title,
                               &rec.row2Title}) {
        in.Text(*label, TwoByTwoRecord::MaxLabel);
    }
    std::string title;
    in.Text(title, DataTable::MaxDataTitle);
    doc.data.Table().SetDataTitle(title);
    in.Skip();  // "<<END CHOICES>>"
    ReadNotes(in, doc.notes);
    if (in.Stopped()) return;
    in.Flag(ch.sensitivity);
}

void ReadContingencyLayout(FieldReader& in, const DataFileContents& doc) {
    DataTable& table = doc.data.Table();
    SkipHeader(in);
    std::string title;
    in.Text(title, DataTable::MaxDataTitle);
    table.SetDataTitle(title);
    for (int c = 0; c < DataColumns; ++c) {
        std::int32_t index = 0;
        in.Integer(index);
        in.Text(table.Record(c).title, ColumnRecord::MaxTitle);
        in.Choice(table.Record(c).n, 0, INT32_MAX);
        in.Skip();
    }
    in.Skip();  // "<<END STAT DATA>>"
    ReadRawData(in, table);
    ReadNotes(in, doc.notes);
    if (in.Stopped()) return;
    ReadRowTitles(in, table);
    if (!ReadNumberFormats(in, table)) return;
    if (in.Stopped()) return;
    ReadExclusions(in, table);
}

// A column letter "A" to "Z" or "*"; anything else leaves the setting as it is.
void ReadColumnLetter(FieldReader& in, char& field) {
    std::string_view line;
    if (!in.Line(line) || line.empty()) return;
    const char c = line.front();
    if ((c >= 'A' && c <= 'Z') || c == '*') field = c;
}

void ReadMultipleRegressionLayout(FieldReader& in, const DataFileContents& doc) {
    DataTable& table = doc.data.Table();
    MultipleRegressionChoices& mr = doc.choices.multipleRegression;
    SkipHeader(in);
    std::string title;
    in.Text(title, DataTable::MaxDataTitle);
    table.SetDataTitle(title);
    ReadRawData(in, table);
    for (int c = 0; c < DataColumns; ++c) in.Text(table.Record(c).title, ColumnRecord::MaxTitle);
    in.Choice(mr.kind, 0, 1);
    in.Choice(mr.dependentColumn, 0, DataColumns - 1);
    in.Flag(doc.graph.analyzedDataOnly);
    for (std::uint8_t& f : mr.include) in.Flag(f);
    ReadColumnLetter(in, doc.graph.xColumn);
    ReadColumnLetter(in, doc.graph.yColumn);
    in.Skip();  // "<<END CHOICES>>"
    ReadNotes(in, doc.notes);
    if (in.Stopped()) return;
    ReadRowTitles(in, table);
    if (in.Stopped()) return;
    ReadExclusions(in, table);  // finds its start marker past the blank line
}

}  // namespace

std::int32_t ReadDataFileText(const DataFileContents& contents, std::string_view text,
                              std::int32_t code, Separators separators) {
    const std::optional<DataFormat> format = DataFormatFromFileCode(code);
    if (!format) return DataFileUnknownCode;
    DataSet& data = contents.data;
    data.SetFormat(*format);
    if (*format == DataFormat::MeanSDN) data.SetErrorIsSD(true);
    if (*format == DataFormat::MeanSEMN) data.SetErrorIsSD(false);

    FieldReader in(text, separators);
    switch (*format) {
        case DataFormat::Raw:
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN:
            ReadColumnDataLayout(in, contents);
            break;
        case DataFormat::LargerTable:
            ReadContingencyLayout(in, contents);
            break;
        case DataFormat::TwoByTwo:
            ReadTwoByTwoLayout(in, contents);
            break;
        case DataFormat::XY:
            ReadXYLayout(in, contents);
            break;
        case DataFormat::MultipleRegression:
            ReadMultipleRegressionLayout(in, contents);
            break;
    }

    // The statistics of a column of raw values come from its cells, not from the file; only
    // averaged-data columns keep the statistics stored with them, and show the digits their
    // mean and typed error were stored with.
    DataTable& table = data.Table();
    for (int c = 0; c < DataColumns; ++c) {
        if (!table.NoRawData(c)) {
            table.SetChanged(c, true);
        } else if (HoldsAveragedData(table, c)) {
            ShowAveragedDigits(table, c, data.ErrorIsSD());
        }
    }
    UpdateColumnSummaries(table);
    return in.Error();
}

}  // namespace zelkon
