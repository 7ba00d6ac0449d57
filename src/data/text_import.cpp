// Reading a text file into the import preview.
#include "data/text_import.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include "core/file_io.h"
#include "core/latin1.h"
#include "core/latin1_decode.h"
#include "data/data_messages.h"
#include "data/entered_value.h"
#include "data/text_import_fields.h"
#include "document/data_file.h"

namespace zelkon {

namespace {

// A record with the reading of each of its kept fields.
struct ReadRecord {
    TextRecord record;
    std::vector<FieldReading> readings;
};

bool IsNumber(const FieldReading& r) {
    return r.kind == FieldKind::Number || r.kind == FieldKind::TooLarge;
}

// How the fields of a file read: its separator, the decimal separator, and whether a lone
// "." is a decimal point.
struct Reading {
    char separator = ',';
    char decimal = '.';
    bool pointIsDecimal = true;
};

std::vector<FieldReading> ReadingsOf(const TextRecord& record, const Reading& how) {
    std::vector<FieldReading> readings;
    readings.reserve(record.fields.size());
    for (const TextField& field : record.fields) {
        if (field.cut) {
            // Longer than any number: text, unless it is only blanks.
            FieldReading r;
            if (field.text.find_first_not_of(" \t") != std::string::npos) r.kind = FieldKind::Text;
            readings.push_back(r);
        } else {
            readings.push_back(ReadField(field.text, how.decimal,
                                         GroupingAllowed(field, how.separator, how.decimal),
                                         how.pointIsDecimal));
        }
    }
    return readings;
}

// How a file's fields count: in a file that also holds unquoted numbers, a number quoted
// without need (no separator, quote or line break inside) was written as text.
class FieldRules {
  public:
    explicit FieldRules(bool quotesMarkText) : quotesMarkText_(quotesMarkText) {}

    bool Number(const TextField& field, const FieldReading& reading) const {
        return IsNumber(reading) && !QuotedNumber(field, reading);
    }
    bool QuotedNumber(const TextField& field, const FieldReading& reading) const {
        return quotesMarkText_ && IsNumber(reading) && field.quoted && !field.needsQuotes;
    }

    bool HasNumber(const ReadRecord& r) const {
        for (std::size_t i = 0; i < r.readings.size(); ++i) {
            if (Number(r.record.fields[i], r.readings[i])) return true;
        }
        return false;
    }
    bool HasText(const ReadRecord& r) const {
        for (std::size_t i = 0; i < r.readings.size(); ++i) {
            if (r.readings[i].kind != FieldKind::Empty &&
                !Number(r.record.fields[i], r.readings[i])) {
                return true;
            }
        }
        return false;
    }

  private:
    bool quotesMarkText_;
};

// Data rows beyond these are only counted.
constexpr std::size_t KeptRecordsPastFirstNumber = 2 * static_cast<std::size_t>(ImportRowLimit) + 8;
// Of the lines above the first number, the titles come from the last few; a text of
// millions of lines without a number keeps only this many, so that its reading stays small.
constexpr std::size_t KeptRecordsBeforeFirstNumber = 4096;

struct Records {
    std::vector<ReadRecord> kept;
    std::int64_t moreDataRows = 0;     // non-blank records past the kept ones
    std::int64_t droppedLeading = 0;   // records above the kept ones, all without a number
};

Records ReadRecords(std::string_view text, const Reading& how) {
    Records records;
    RecordReader reader(text, how.separator);
    TextRecord record;
    std::size_t limit = std::string::npos;
    while (reader.Next(record)) {
        if (records.kept.size() >= limit) {
            if (!record.blank) ++records.moreDataRows;
            continue;
        }
        ReadRecord r{record, ReadingsOf(record, how)};
        if (limit == std::string::npos &&
            std::any_of(r.readings.begin(), r.readings.end(), IsNumber)) {
            limit = records.kept.size() + KeptRecordsPastFirstNumber;
        }
        if (limit == std::string::npos && records.kept.size() == 2 * KeptRecordsBeforeFirstNumber) {
            records.kept.erase(records.kept.begin(),
                               records.kept.begin() + KeptRecordsBeforeFirstNumber);
            records.droppedLeading += KeptRecordsBeforeFirstNumber;
        }
        records.kept.push_back(std::move(r));
    }
    return records;
}

std::size_t TitleLinesOf(const std::vector<ReadRecord>& records, const FieldRules& rules) {
    // The first line made only of numbers.
    std::size_t numeric = records.size();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i].record.blank && rules.HasNumber(records[i]) && !rules.HasText(records[i])) {
            numeric = i;
            break;
        }
    }
    std::size_t i = 0;
    for (; i < records.size(); ++i) {
        const ReadRecord& r = records[i];
        if (r.record.blank || !rules.HasNumber(r)) continue;
        const bool headerWithNumbers = i < numeric && numeric < records.size() &&
                                       rules.HasText(r) &&
                                       r.record.fieldCount != records[numeric].record.fieldCount;
        if (!headerWithNumbers) break;
    }
    return i;
}

// The fields of one data row.
struct DataRow {
    std::int64_t line = 0;
    std::vector<TextField> fields;
    std::vector<FieldReading> readings;
    std::int64_t fieldCount = 0;
};

// Where every line holding a number has a blank, a ";" or a "," (not the decimal
// separator), or has ended, a column may end; the last position of each such run between
// the first and the last number character of any line is a cut.
std::vector<std::size_t> ColumnCuts(const std::vector<std::string_view>& lines, char decimal) {
    std::size_t width = 0;
    for (std::string_view line : lines) width = std::max(width, line.size());
    std::vector<bool> kept(width + 1, true);
    std::size_t first = std::string_view::npos;
    std::size_t last = 0;
    const auto numberCharacter = [](char c) {
        return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e';
    };
    for (std::string_view line : lines) {
        for (std::size_t p = 0; p < line.size(); ++p) {
            const char c = line[p];
            if (c != ' ' && c != ';' && !(c == ',' && decimal != ',')) kept[p] = false;
            if (numberCharacter(c)) {
                first = std::min(first, p);
                last = std::max(last, p);
            }
        }
    }
    std::vector<std::size_t> cuts;
    if (first == std::string_view::npos) return cuts;
    for (std::size_t p = 0; p < kept.size(); ++p) {
        if (p < first || p > last) kept[p] = false;
    }
    for (std::size_t p = 0; p < kept.size(); ++p) {
        if (kept[p] && (p + 1 == kept.size() || !kept[p + 1])) cuts.push_back(p);
    }
    return cuts;
}

std::vector<TextField> CutLine(std::string_view line, const std::vector<std::size_t>& cuts) {
    std::vector<TextField> fields;
    std::size_t start = 0;
    auto add = [&](std::size_t end) {
        TextField field;
        if (start < line.size()) {
            field.text = TrimBlanks(line.substr(start, std::min(end, line.size()) - start));
            if (field.text.size() > MaxFieldText) {
                field.text.resize(MaxFieldText);
                field.cut = true;
            }
        }
        fields.push_back(std::move(field));
    };
    for (std::size_t cut : cuts) {
        add(cut);
        start = cut;
    }
    add(line.size());
    return fields;
}

// The data rows from the first data record on: a blank line is a row of empty cells (it keeps
// the rows below in place); trailing blank lines are no rows.  Blank-separated lines are read as
// tokens when every line holding a number has as many, otherwise cut by the column map.
std::vector<DataRow> DataRowsOf(const std::vector<ReadRecord>& records, std::size_t first,
                                const Reading& how) {
    const bool blankSeparated = how.separator == BlanksSeparate;
    std::vector<const ReadRecord*> chosen;
    for (std::size_t i = first; i < records.size(); ++i) chosen.push_back(&records[i]);
    while (!chosen.empty() && chosen.back()->record.blank) chosen.pop_back();

    bool tokens = true;
    std::int64_t count = -1;
    std::vector<std::string_view> numberLines;
    for (const ReadRecord* r : chosen) {
        if (!std::any_of(r->readings.begin(), r->readings.end(), IsNumber)) continue;
        numberLines.push_back(r->record.source);
        if (count >= 0 && r->record.fieldCount != count) tokens = false;
        count = r->record.fieldCount;
    }
    std::vector<DataRow> rows;
    rows.reserve(std::min<std::size_t>(chosen.size(), ImportRowLimit + 1));
    const std::vector<std::size_t> cuts = blankSeparated && !tokens
                                              ? ColumnCuts(numberLines, how.decimal)
                                              : std::vector<std::size_t>{};
    for (const ReadRecord* r : chosen) {
        DataRow row;
        row.line = r->record.line;
        if (blankSeparated && !tokens) {
            row.fields = CutLine(r->record.source, cuts);
            row.fieldCount = static_cast<std::int64_t>(row.fields.size());
            TextRecord cutRecord;
            cutRecord.fields = row.fields;
            row.readings = ReadingsOf(cutRecord, how);
        } else {
            row.fields = r->record.fields;
            row.readings = r->readings;
            row.fieldCount = r->record.fieldCount;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// What the reading found per column of the first 26.
struct ColumnFinds {
    bool number = false;        // a number counted as one
    bool quotedNumber = false;  // a number written as text
    bool text = false;
};

// A title as the program holds it: a line break (inside quotes) becomes a blank, other
// control characters but TAB are dropped.
std::string CleanTitle(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\n') {
            out.push_back(' ');
        } else if (u >= 32 || u == '\t') {
            out.push_back(c);
        }
    }
    return SanitizeLatin1(out);
}

std::string TitleOf(const TextField& field) {
    return CutText(CleanTitle(field.quoted ? std::string(field.text) : TrimBlanks(field.text)),
                   ColumnRecord::MaxTitle);
}

// A title line's text as the data title: its fields joined as they were written (a
// blank-separated line of several fields as written).
std::string DataTitleOf(const TextRecord& record, char separator) {
    if (record.fieldCount == 1 && record.fields[0].quoted) return CleanTitle(record.fields[0].text);
    if (separator == BlanksSeparate && record.fieldCount > 1) {
        std::string line = TrimBlanks(CleanTitle(record.source));
        std::replace(line.begin(), line.end(), '\t', ' ');
        return line;
    }
    std::size_t used = record.fields.size();
    while (used > 0 && record.fields[used - 1].text.empty() && !record.fields[used - 1].quoted)
        --used;
    const std::string join =
        separator == BlanksSeparate || separator == '\t' || separator == NothingSeparates
            ? std::string(" ")
            : std::string(1, separator);
    std::string out;
    for (std::size_t i = 0; i < used; ++i) {
        if (i > 0) out += join;
        out += record.fields[i].text;
    }
    std::replace(out.begin(), out.end(), '\t', ' ');
    return TrimBlanks(CleanTitle(out));
}

struct Width {
    std::int64_t fields = 0;  // every field
    std::int64_t used = 0;    // up to the last non-empty one
    std::int64_t nonEmpty = 0;
};

Width WidthOf(const std::vector<TextField>& fields, std::int64_t fieldCount) {
    Width w;
    w.fields = fieldCount;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].quoted || fields[i].text.find_first_not_of(" \t") != std::string::npos) {
            w.used = static_cast<std::int64_t>(i) + 1;
            ++w.nonEmpty;
        }
    }
    return w;
}

// The titles from the first `titleLines` records.
void TakeTitles(ImportPreview& preview, const std::vector<ReadRecord>& records,
                std::size_t titleLines, const std::vector<DataRow>& rows, char separator) {
    if (titleLines == 0) return;
    Width data;
    for (const DataRow& row : rows) {
        const Width w = WidthOf(row.fields, row.fieldCount);
        data.fields = std::max(data.fields, w.fields);
        data.used = std::max(data.used, w.used);
    }
    // The nearest title line above the data, up to a blank line, whose fields line up; with
    // a first label column, a line of one field fewer titles the columns after it (the
    // layout of R's write.table).
    std::size_t titlesLine = titleLines;
    int shift = 0;
    // Blank-separated titles may hold blanks: over a single column, the nearest title line
    // is its title, whole.
    const bool wholeLine = separator == BlanksSeparate && data.used == 1;
    for (std::size_t i = titleLines; i-- > 0;) {
        const TextRecord& r = records[i].record;
        if (r.blank) break;
        if (wholeLine) {
            titlesLine = i;
            break;
        }
        const Width w = WidthOf(r.fields, r.fieldCount);
        if (w.used == 0) continue;
        if (preview.IsLabelColumn(0) && w.fields == data.fields - 1 && w.used == w.fields) {
            titlesLine = i;
            shift = 1;
            break;
        }
        if (w.fields == data.fields || w.used == data.used || w.nonEmpty == data.used) {
            titlesLine = i;
            break;
        }
    }
    DataTable& table = *preview.table;
    if (titlesLine < titleLines && wholeLine) {
        table.Record(0).title =
            CutText(DataTitleOf(records[titlesLine].record, separator), ColumnRecord::MaxTitle);
        preview.columnTitles = true;
    } else if (titlesLine < titleLines) {
        const std::vector<TextField>& fields = records[titlesLine].record.fields;
        for (std::size_t k = 0; k < fields.size(); ++k) {
            const std::size_t column = k + static_cast<std::size_t>(shift);
            if (column >= static_cast<std::size_t>(DataColumns)) break;
            table.Record(static_cast<int>(column)).title = TitleOf(fields[k]);
        }
        preview.columnTitles = true;
    }
    std::string dataTitle;
    for (std::size_t i = 0; i < titleLines; ++i) {
        if (i == titlesLine || records[i].record.blank) continue;
        const std::string line = DataTitleOf(records[i].record, separator);
        if (line.empty()) continue;
        if (!dataTitle.empty()) dataTitle += "; ";
        dataTitle += line;
        if (dataTitle.size() >= DataTable::MaxDataTitle) break;
    }
    table.SetDataTitle(CutText(dataTitle, DataTable::MaxDataTitle));
}

class PreviewBuilder {
  public:
    PreviewBuilder(ImportPreview& preview, const FieldRules& rules)
        : preview_(preview), rules_(rules) {}

    void Row(int row, const DataRow& data) {
        for (std::size_t k = 0; k < data.readings.size(); ++k) {
            const TextField& field = data.fields[k];
            const FieldReading& reading = data.readings[k];
            if (reading.kind == FieldKind::Empty) continue;
            const auto column = static_cast<int>(k);
            if (column >= DataColumns) {
                if (!IsNumber(reading)) continue;
                if (extraNumbers_.size() <= k) extraNumbers_.resize(k + 1);
                extraNumbers_[k] = true;
                continue;
            }
            ColumnFinds& finds = finds_[k];
            preview_.columns = std::max(preview_.columns, column + 1);
            if (reading.kind == FieldKind::Text || rules_.QuotedNumber(field, reading)) {
                auto& texts = preview_.texts[k];
                if (texts.size() <= static_cast<std::size_t>(row))
                    texts.resize(static_cast<std::size_t>(row) + 1);
                texts[static_cast<std::size_t>(row)] = TitleOf(field);
                (reading.kind == FieldKind::Text ? finds.text : finds.quotedNumber) = true;
                if (reading.kind == FieldKind::Text) continue;
            } else {
                finds.number = true;
            }
            if (reading.kind == FieldKind::TooLarge) {
                preview_.account.tooLarge.Note(data.line, column + 1, TrimBlanks(field.text));
                continue;
            }
            DataTable& table = *preview_.table;
            table.SetValue(row, column, reading.value);
            table.SetExcluded(row, column, reading.excluded);
            table.SetNoRawData(column, false);
            RaiseDecimals(table, column, EnteredDigitCounts(reading.value));
        }
    }

    // After the rows: the label columns, what was left empty, the row titles.
    void Finish(const std::vector<DataRow>& rows) {
        DataTable& table = *preview_.table;
        for (int c = 0; c < DataColumns; ++c) {
            const ColumnFinds& f = finds_[static_cast<std::size_t>(c)];
            if (f.number || !(f.text || f.quotedNumber)) continue;
            preview_.labels[static_cast<std::size_t>(c)] = true;
            for (int r = 0; r < preview_.rows; ++r) table.SetValue(r, c, MissingValue);
            table.SetNoRawData(c, true);
            table.SetDecimals(c, 0);
        }
        for (int r = 0; r < preview_.rows; ++r) {
            for (int c = 0; c < DataColumns; ++c) {
                if (preview_.IsLabelColumn(c) || !table.IsMissing(r, c)) continue;
                const std::string_view text = preview_.Text(r, c);
                if (!text.empty()) {
                    preview_.account.leftEmpty.Note(rows[static_cast<std::size_t>(r)].line, c + 1,
                                                    text);
                }
            }
        }
        if (preview_.IsLabelColumn(0)) {
            preview_.rowTitles.resize(static_cast<std::size_t>(preview_.rows));
            for (int r = 0; r < preview_.rows; ++r) {
                preview_.rowTitles[static_cast<std::size_t>(r)] =
                    CutText(preview_.Text(r, 0), DataTable::MaxRowTitle);
            }
        }
        preview_.account.columnsLeftOut =
            static_cast<std::int32_t>(std::count(extraNumbers_.begin(), extraNumbers_.end(), true));
        for (int c = 0; c < DataColumns; ++c) table.SetChanged(c, false);
    }

    void NameLabels() {
        for (int c = 0; c < DataColumns; ++c) {
            if (!preview_.IsLabelColumn(c)) continue;
            preview_.account.labels.push_back({c + 1, preview_.table->Record(c).title, c == 0});
        }
    }

  private:
    ImportPreview& preview_;
    const FieldRules& rules_;
    std::array<ColumnFinds, DataColumns> finds_{};
    std::vector<bool> extraNumbers_;
};

}  // namespace

std::string_view ImportPreview::Text(int row, int column) const {
    if (column < 0 || column >= DataColumns || row < 0) return {};
    const auto& list = texts[static_cast<std::size_t>(column)];
    if (static_cast<std::size_t>(row) >= list.size()) return {};
    return list[static_cast<std::size_t>(row)];
}

std::int32_t CountTitleLines(std::string_view text, Separators separators) {
    return LoadDelimitedText(text, separators).titleLines;
}

ImportPreview LoadDelimitedText(std::string_view bytes, Separators separators) {
    ImportPreview preview;
    const DecodedText decoded = DecodeText(bytes);
    ImportAccount& account = preview.account;
    account.encoding = decoded.encoding;
    account.byteOrderMark = decoded.byteOrderMark;
    account.replacedCharacters = decoded.replaced;
    if (!decoded.isText) {
        preview.notText = true;
        return preview;
    }
    const std::string& text = decoded.text;
    const char separator = ChooseSeparator(text, separators, true);
    preview.separator = separator;
    preview.blankSeparated = separator == BlanksSeparate;

    const Reading how{separator, separators.decimal,
                      PointIsDecimal(text, separator, separators.decimal)};
    const Records records = ReadRecords(text, how);
    bool unquotedNumbers = false;
    for (const ReadRecord& r : records.kept) {
        for (std::size_t i = 0; i < r.readings.size() && !unquotedNumbers; ++i) {
            unquotedNumbers = IsNumber(r.readings[i]) && !r.record.fields[i].quoted;
        }
        if (unquotedNumbers) break;
    }
    const FieldRules rules(unquotedNumbers);
    const std::size_t titleLines = TitleLinesOf(records.kept, rules);
    preview.titleLines = static_cast<std::int32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(titleLines) + records.droppedLeading,
                               std::numeric_limits<std::int32_t>::max()));

    const std::vector<DataRow> rows = DataRowsOf(records.kept, titleLines, how);
    const auto kept = std::min<std::size_t>(rows.size(), ImportRowLimit);
    preview.rows = static_cast<std::int32_t>(kept);
    std::int64_t leftOut = records.moreDataRows;
    for (std::size_t r = kept; r < rows.size(); ++r) {
        if (std::any_of(rows[r].readings.begin(), rows[r].readings.end(),
                        [](const FieldReading& f) { return f.kind != FieldKind::Empty; })) {
            ++leftOut;
        }
    }
    account.rowsKept = preview.rows;
    account.rowsLeftOut = leftOut;
    account.dataRows = preview.rows + leftOut;

    PreviewBuilder builder(preview, rules);
    for (std::size_t r = 0; r < kept; ++r) builder.Row(static_cast<int>(r), rows[r]);
    builder.Finish(rows);
    TakeTitles(preview, records.kept, titleLines, rows, separator);
    builder.NameLabels();
    return preview;
}

std::optional<ImportPreview> ReadImportText(std::string_view bytes, Separators separators,
                                            UserPrompts& prompts) {
    ImportPreview preview = LoadDelimitedText(bytes, separators);
    if (preview.notText) {
        prompts.Tell(NotAsciiFileMessage);
        return std::nullopt;
    }
    if (preview.account.rowsLeftOut > 0) prompts.Tell(TooManyRowsMessage(ImportRowLimit));
    if (preview.account.columnsLeftOut > 0) {
        prompts.Tell(TooManyColumnsMessage(DataColumns, preview.account.columnsLeftOut));
    }
    if (!preview.table->HasData()) {
        std::string message(NoNumbersMessage);
        for (const std::string& line : AccountLines(preview.account)) message += "\n" + line;
        prompts.Tell(message);
        return std::nullopt;
    }
    return preview;
}

std::optional<ImportPreview> ReadImportFile(const std::string& path, Separators separators,
                                            UserPrompts& prompts) {
    std::string text;
    const FileReadStatus status = ReadFileWithin(path, DataFileReadLimit, text);
    if (status.fault == ReadFault::TooLarge) {
        prompts.Tell(DataFileTooLargeMessage);
        return std::nullopt;
    }
    if (!status.Ok()) {
        const std::int32_t code = IoErrorFromErrno(status.error, false, path);
        const std::string message = IoErrorText(code);
        prompts.Tell(message.empty() ? "Error: #" + std::to_string(code) : message);
        return std::nullopt;
    }
    return ReadImportText(text, separators, prompts);
}

}  // namespace zelkon
