// The data file writer: builds the whole text of a document's data file in the layout of its
// data format.  Lines end in CR LF; sections are written whole even when empty.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/stored_number.h"
#include "document/data_file.h"

namespace zelkon {

namespace {

class Writer {
public:
    void Line(std::string_view text) {
        out_ += text;
        out_ += "\r\n";
    }
    void Blank() { out_ += "\r\n"; }
    void Integer(std::int64_t i) { Line(std::to_string(i)); }
    void Flag(bool f) { Line(f ? "T" : "F"); }
    void Number(Extended v) { Line(FormatStoredNumber(v)); }
    /// A title cut to its field's length; a line break in it (which no entry field lets
    /// through) becomes a blank so that it cannot split the line.
    void Text(std::string_view text, std::size_t limit) { Line(SingleLine(text.substr(0, limit))); }
    std::string Take() { return std::move(out_); }

    static std::string SingleLine(std::string_view text) {
        std::string s(text);
        for (char& ch : s) {
            if (ch == '\r' || ch == '\n') ch = ' ';
        }
        return s;
    }

private:
    std::string out_;
};

// The extent the raw data and exclusion sections cover: the highest row and column holding a
// value, found by a scan so that an active column map cannot distort it.
struct Extent {
    int lastRow = 0;
    int lastColumn = 0;
};

Extent FindUsedExtent(const DataTable& table) {
    Extent extent;
    for (int c = 0; c < DataColumns; ++c) {
        for (int r = 0; r < DataRows; ++r) {
            if (table.IsMissing(r, c)) continue;
            if (r > extent.lastRow) extent.lastRow = r;
            extent.lastColumn = c;
        }
    }
    return extent;
}

void WriteHeader(Writer& w, std::int32_t code, std::string_view line4, std::string_view version) {
    w.Line(DataFileSignature);
    w.Line(version);
    w.Integer(code);
    w.Line(line4);
    w.Blank();
    w.Blank();
}

// The decimals the cells of a column are written with: the column's decimal places, raised
// to what its values need to keep their 15 significant digits and to what the reader takes
// from any of its texts, so that reading the file gives the column these decimals again and
// the next save writes the same text.
std::int32_t WrittenDecimals(const DataTable& table, int column, int lastRow) {
    std::int32_t decimals = std::clamp(table.Decimals(column), 0, MaxStoredDecimals);
    for (int r = 0; r <= lastRow; ++r) {
        const Extended v = table.Value(r, column);
        if (!IsMissingValue(v)) decimals = std::max(decimals, FieldDecimals(FormatStoredCell(v, 0)));
    }
    return decimals;
}

void WriteRawData(Writer& w, const DataTable& table, const Extent& extent) {
    std::vector<std::int32_t> decimals;
    for (int c = 0; c <= extent.lastColumn; ++c) {
        decimals.push_back(WrittenDecimals(table, c, extent.lastRow));
    }
    for (int r = 0; r <= extent.lastRow; ++r) {
        std::string line;
        for (int c = 0; c <= extent.lastColumn; ++c) {
            const std::string text =
                FormatStoredCell(table.Value(r, c), decimals[static_cast<std::size_t>(c)]);
            line += text.empty() ? "*" : text;
            line += ',';
        }
        w.Line(line);
    }
    w.Line(EndRawDataMarker);
}

// A notes line that reads as a section marker (possibly followed by blanks) gets one more
// trailing blank, which the reader takes off again.
void WriteNoteLine(Writer& w, std::string line) {
    std::size_t end = line.size();
    while (end > 0 && line[end - 1] == ' ') --end;
    if (IsSectionMarker(std::string_view(line).substr(0, end))) line += ' ';
    w.Line(line);
}

// The notes up to their end mark (at most the buffer's 8010 characters): CR ends a line, an
// LF after a CR is skipped, and a lone LF ends a line as well.
void WriteNotes(Writer& w, std::string_view notes) {
    notes = notes.substr(0, NotesBufferSize);
    const std::size_t mark = notes.find(NotesEndMark);
    if (mark != std::string_view::npos) notes = notes.substr(0, mark);
    std::string line;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const char ch = notes[i];
        if (ch == '\n' && i > 0 && notes[i - 1] == '\r') continue;
        if (ch == '\r' || ch == '\n') {
            WriteNoteLine(w, std::move(line));
            line.clear();
        } else {
            line += ch;
        }
    }
    // The notes are kept without the buffer's final line break, so notes that end with a
    // line break end with an empty line; it is written, or every save would lose one.
    if (!line.empty() || (!notes.empty() && (notes.back() == '\r' || notes.back() == '\n')))
        WriteNoteLine(w, std::move(line));
    w.Line(EndNotesMarker);
}

void WriteRowTitles(Writer& w, const DataTable& table) {
    for (int r = 0; r < DataRows; ++r) {
        const std::string& title = table.RowTitle(r);
        if (title == DataTable::DefaultRowTitle(r)) continue;
        std::string line = std::to_string(r);
        line.resize(6, ' ');
        line += Writer::SingleLine(title);
        w.Line(line);
    }
    w.Line(EndRowTitlesMarker);
}

void WriteNumberFormats(Writer& w, const DataTable& table) {
    for (int c = 0; c < DataColumns; ++c) w.Integer(table.DisplayFormat(c));
    w.Line(EndDecPtDataMarker);
}

void WriteExclusions(Writer& w, const DataTable& table, const Extent& extent) {
    w.Line(StartExcludeFlagsMarker);
    for (int r = 0; r <= extent.lastRow; ++r) {
        std::string line;
        for (int c = 0; c <= extent.lastColumn; ++c) line += table.IsExcluded(r, c) ? '*' : '.';
        w.Line(line);
    }
    w.Line(EndExcludeFlagsMarker);
}

void WriteColumnChoices(Writer& w, const ColumnAnalysisChoices& ch) {
    w.Integer(ch.columnCountClass);
    w.Integer(ch.oneColumnNonparametric);
    w.Number(ch.hypotheticalValue);
    w.Integer(ch.oneColumnTwoSided);
    w.Integer(ch.oneColumnColumn);
    w.Integer(ch.hypotheticalValueChoice);
    w.Integer(ch.twoColumnNonparametric);
    w.Integer(ch.unpaired);
    w.Integer(ch.twoColumnTwoSided);
    w.Integer(ch.firstColumn);
    w.Integer(ch.secondColumn);
    w.Flag(ch.equalSDs);
    w.Integer(ch.unmatched);
    w.Integer(ch.multiColumnNonparametric);
    w.Integer(ch.postTestMode);
    w.Integer(ch.pairMode);
    w.Integer(ch.controlColumn);
    w.Integer(ch.postTestKind);
    std::string flags;
    for (std::uint8_t f : ch.pairFlags) flags += f != 0 ? 'T' : 'F';
    w.Line(flags);
    w.Line(EndChoicesMarker);
}

void WriteColumnDataLayout(Writer& w, const DataFileContents& doc, std::int32_t code) {
    const DataTable& table = doc.data.Table();
    const Extent extent = FindUsedExtent(table);
    WriteHeader(w, code, "", "2.00");
    w.Text(table.DataTitle(), DataTable::MaxDataTitle);
    if (code == 1) {
        WriteRawData(w, table, extent);
    } else {
        w.Line(EndRawDataMarker);
    }
    for (int c = 0; c < DataColumns; ++c) {
        const ColumnRecord& rec = table.Record(c);
        w.Integer(c);
        w.Text(rec.title, ColumnRecord::MaxTitle);
        w.Integer(rec.n);
        for (Extended v : {rec.mean, rec.sd, rec.sem, rec.minimum, rec.maximum, rec.median,
                           rec.upper95, rec.lower95}) {
            w.Number(v);
        }
        w.Blank();
    }
    w.Line(EndStatDataMarker);
    WriteColumnChoices(w, doc.choices.columns);
    WriteNotes(w, doc.notes);
    for (int c = 0; c < DataColumns; ++c) w.Flag(table.Selected(c));
    w.Line(EndSelectedFlagsMarker);
    WriteRowTitles(w, table);
    WriteNumberFormats(w, table);
    w.Flag(doc.choices.allColumns != 0);
    w.Blank();
    for (int c = 0; c < DataColumns; ++c) {
        const ColumnRecord& rec = table.Record(c);
        w.Number(rec.ks);
        w.Number(rec.ksp);
        w.Flag(rec.passed);
    }
    w.Blank();
    WriteExclusions(w, table, extent);
    w.Blank();
}

void WriteXYLayout(Writer& w, const DataFileContents& doc) {
    const DataTable& table = doc.data.Table();
    const Extent extent = FindUsedExtent(table);
    const XYChoices& xy = doc.choices.xy;
    WriteHeader(w, 6, "", "2.00");
    w.Text(table.DataTitle(), DataTable::MaxDataTitle);
    w.Flag(xy.regression != 0);
    w.Flag(xy.runsTest != 0);
    w.Flag(xy.forceThroughPoint != 0);
    w.Number(xy.ForceX);
    w.Number(xy.ForceY);
    w.Integer(xy.correlationKind);
    w.Flag(xy.interpolate != 0);
    w.Line(EndChoicesMarker);
    for (int c = 0; c < DataColumns; ++c) {
        w.Integer(c);
        w.Text(table.Record(c).title, ColumnRecord::MaxTitle);
    }
    w.Line(TitlesMarker);
    WriteRawData(w, table, extent);
    WriteNotes(w, doc.notes);
    WriteRowTitles(w, table);
    WriteNumberFormats(w, table);
    WriteExclusions(w, table, extent);
    w.Blank();
}

void WriteTwoByTwoLayout(Writer& w, const DataFileContents& doc) {
    const TwoByTwoChoices& ch = doc.choices.twoByTwo;
    const TwoByTwoRecord& rec = doc.data.TwoByTwo();
    WriteHeader(w, 5, "", "2.00");
    w.Integer(ch.test);
    w.Flag(ch.yates != 0);
    w.Integer(ch.twoSided != 0 ? 1 : 0);
    w.Flag(ch.relativeRisk != 0);
    w.Flag(ch.oddsRatio != 0);
    w.Flag(ch.relativeRisk2 != 0);
    for (Extended v : {rec.a, rec.b, rec.c, rec.d}) w.Number(v);
    for (const std::string* label :
         {&rec.column1Title, &rec.column2Title, &rec.row1Title, &rec.row2Title}) {
        w.Text(*label, TwoByTwoRecord::MaxLabel);
    }
    w.Text(doc.data.Table().DataTitle(), DataTable::MaxDataTitle);
    w.Line(EndChoicesMarker);
    WriteNotes(w, doc.notes);
    w.Flag(ch.sensitivity != 0);
    w.Blank();
}

void WriteContingencyLayout(Writer& w, const DataFileContents& doc) {
    const DataTable& table = doc.data.Table();
    const Extent extent = FindUsedExtent(table);
    WriteHeader(w, 4, "", "2.00");
    w.Text(table.DataTitle(), DataTable::MaxDataTitle);
    for (int c = 0; c < DataColumns; ++c) {
        w.Integer(c);
        w.Text(table.Record(c).title, ColumnRecord::MaxTitle);
        w.Integer(table.Record(c).n);
        w.Blank();
    }
    w.Line(EndStatDataMarker);
    WriteRawData(w, table, extent);
    WriteNotes(w, doc.notes);
    WriteRowTitles(w, table);
    WriteNumberFormats(w, table);
    WriteExclusions(w, table, extent);
    w.Blank();
}

char GraphColumnChar(char c) { return (c >= 'A' && c <= 'Z') || c == '*' ? c : '*'; }

void WriteMultipleRegressionLayout(Writer& w, const DataFileContents& doc) {
    const DataTable& table = doc.data.Table();
    const Extent extent = FindUsedExtent(table);
    const MultipleRegressionChoices& mr = doc.choices.multipleRegression;
    WriteHeader(w, 1, "1", "3.00");
    w.Text(table.DataTitle(), DataTable::MaxDataTitle);
    WriteRawData(w, table, extent);
    for (int c = 0; c < DataColumns; ++c) w.Text(table.Record(c).title, ColumnRecord::MaxTitle);
    w.Integer(mr.kind);
    w.Integer(mr.dependentColumn);
    w.Flag(doc.graph.analyzedDataOnly);
    for (std::uint8_t f : mr.include) w.Flag(f != 0);
    w.Line(std::string(1, GraphColumnChar(doc.graph.xColumn)));
    w.Line(std::string(1, GraphColumnChar(doc.graph.yColumn)));
    w.Line(EndChoicesMarker);
    WriteNotes(w, doc.notes);
    WriteRowTitles(w, table);
    w.Blank();
    WriteExclusions(w, table, extent);
    w.Blank();
}

}  // namespace

std::string BuildDataFileText(const DataFileContents& contents) {
    Writer w;
    switch (contents.data.Format()) {
        case DataFormat::Raw:
            WriteColumnDataLayout(w, contents, 1);
            break;
        case DataFormat::MeanSDN:
            WriteColumnDataLayout(w, contents, 2);
            break;
        case DataFormat::MeanSEMN:
            WriteColumnDataLayout(w, contents, 3);
            break;
        case DataFormat::LargerTable:
            WriteContingencyLayout(w, contents);
            break;
        case DataFormat::TwoByTwo:
            WriteTwoByTwoLayout(w, contents);
            break;
        case DataFormat::XY:
            WriteXYLayout(w, contents);
            break;
        case DataFormat::MultipleRegression:
        default:
            WriteMultipleRegressionLayout(w, contents);
            break;
    }
    return w.Take();
}

}  // namespace zelkon
