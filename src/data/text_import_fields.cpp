// Records, fields and the reading of one field, for text import and paste.
#include "data/text_import_fields.h"

#include <algorithm>
#include <cmath>

#include "core/number_parse.h"
#include "data/entered_value.h"

namespace zelkon {

namespace {

// Lines holding something that are looked at when choosing the separator, and the most
// lines (blank ones included) read for them.
constexpr int SeparatorSampleRecords = 2000;
constexpr int SeparatorSampleLines = 1 << 20;
constexpr char NoBreakSpace = '\xA0';

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == NoBreakSpace; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

void Append(TextField& field, char c) {
    if (field.text.size() < MaxFieldText) {
        field.text.push_back(c);
    } else {
        field.cut = true;
    }
}

// "1,234,567.5" with "," grouping and "." decimals: a first group of one to three digits not
// starting with 0, then groups of exactly three, then an optional decimal part.
bool RegularGrouping(std::string_view s, char grouping, char decimal) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t first = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == first || i - first > 3 || s[first] == '0') return false;
    int groups = 0;
    while (i < s.size() && s[i] == grouping) {
        ++i;
        for (int k = 0; k < 3; ++k, ++i) {
            if (i >= s.size() || !IsDigit(s[i])) return false;
        }
        ++groups;
    }
    if (groups == 0) return false;
    if (i < s.size() && s[i] == decimal) {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i;
    }
    return i == s.size();
}

FieldReading Reading(Extended value, bool excluded) {
    FieldReading r;
    if (!std::isfinite(value) || std::fabs(value) >= ValueLimit) {
        r.kind = FieldKind::TooLarge;
        return r;
    }
    value = RoundEnteredValue(value);
    if (std::fabs(value) >= ValueLimit) {
        r.kind = FieldKind::TooLarge;
        return r;
    }
    r.kind = FieldKind::Number;
    r.value = value;
    r.excluded = excluded;
    return r;
}

}  // namespace

// Records ----------------------------------------------------------------------------------

RecordReader::RecordReader(std::string_view text, char separator)
    : text_(text), separator_(separator), lastQuote_(text.rfind('"')) {}

void RecordReader::EndLine() {
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_;
}

void RecordReader::TakeField(TextRecord& record, bool& recordEnds) {
    const std::size_t size = text_.size();
    const bool blanks = separator_ == BlanksSeparate;
    const auto isBlank = [&](char c) { return (c == ' ' || c == '\t') && c != separator_; };
    const auto separates = [&](char c) { return blanks ? isBlank(c) : c == separator_; };
    TextField field;

    std::size_t p = pos_;
    while (p < size && isBlank(text_[p])) ++p;
    if (p < size && text_[p] == '"' && lastQuote_ != std::string_view::npos && lastQuote_ > p) {
        field.quoted = true;
        pos_ = p + 1;
        while (pos_ < size) {
            const char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < size && text_[pos_ + 1] == '"') {
                    Append(field, '"');
                    field.needsQuotes = true;
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\r' || c == '\n') {
                field.needsQuotes = true;
                EndLine();
                Append(field, '\n');
                continue;
            }
            if (separates(c)) field.needsQuotes = true;
            Append(field, c);
            ++pos_;
        }
        // Blanks after the closing quote are dropped (between blank-separated fields they
        // end the field).
        if (!blanks) {
            while (pos_ < size && isBlank(text_[pos_])) ++pos_;
        }
    }
    while (pos_ < size) {
        const char c = text_[pos_];
        if (c == '\r' || c == '\n' || separates(c)) break;
        Append(field, c);
        ++pos_;
    }

    if (pos_ >= size) {
        recordEnds = true;
    } else if (text_[pos_] == '\r' || text_[pos_] == '\n') {
        EndLine();
        recordEnds = true;
    } else {
        if (!blanks) ++pos_;  // the separator; blanks are skipped by the caller
        recordEnds = false;
    }
    if (field.quoted || field.text.find_first_not_of(" \t") != std::string::npos) {
        record.blank = false;
    }
    ++record.fieldCount;
    if (record.fields.size() < MaxKeptFields) record.fields.push_back(std::move(field));
}

bool RecordReader::Next(TextRecord& record) {
    if (pos_ >= text_.size()) return false;
    record.line = line_;
    const std::size_t begin = pos_;
    record.fields.clear();
    record.fieldCount = 0;
    record.blank = true;
    bool ends = false;
    if (separator_ != BlanksSeparate) {
        while (!ends) TakeField(record, ends);
    } else {
        while (!ends) {
            while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
            if (pos_ >= text_.size()) break;
            if (text_[pos_] == '\r' || text_[pos_] == '\n') {
                EndLine();
                break;
            }
            TakeField(record, ends);
        }
    }
    std::size_t end = pos_;
    while (end > begin && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) --end;
    record.source = text_.substr(begin, end - begin);
    return true;
}

// One field ----------------------------------------------------------------------------------

FieldReading ReadField(std::string_view field, char decimal, bool groupingAllowed,
                       bool pointIsDecimal) {
    std::string_view s = Trimmed(field);
    FieldReading r;
    if (s.empty()) return r;
    bool excluded = false;
    if (s.back() == '*') {
        excluded = true;
        s = Trimmed(s.substr(0, s.size() - 1));
    } else if (s.front() == '*') {
        excluded = true;
        s = Trimmed(s.substr(1));
    }
    if (s.empty()) return r;
    r.kind = FieldKind::Text;

    const char grouping = decimal == ',' ? '.' : ',';
    std::string number(s);
    if (s.find(grouping) != std::string_view::npos) {
        const bool decimalPoint = pointIsDecimal && grouping == '.' &&
                                  std::count(s.begin(), s.end(), '.') == 1 &&
                                  s.find(',') == std::string_view::npos;
        if (!decimalPoint) {
            if (!groupingAllowed || !RegularGrouping(s, grouping, decimal)) return r;
            number.erase(std::remove(number.begin(), number.end(), grouping), number.end());
        }
    }
    Extended value = MissingValue;
    switch (ReadNumber(number, Separators{decimal, '\0'}, true, value)) {
        case NumberReading::Number:
            return Reading(value, excluded);
        case NumberReading::OutOfRange:
            r.kind = FieldKind::TooLarge;
            return r;
        case NumberReading::NotNumber:
            break;
    }
    return r;
}

bool GroupingAllowed(const TextField& field, char separator, char decimal) {
    const char grouping = decimal == ',' ? '.' : ',';
    return field.quoted || separator != grouping;
}

bool PointIsDecimal(std::string_view text, char separator, char decimal) {
    if (decimal != ',') return true;
    RecordReader reader(text, separator);
    TextRecord record;
    for (int n = 0, lines = 0;
         n < SeparatorSampleRecords && lines < SeparatorSampleLines && reader.Next(record); ++lines) {
        if (record.blank) continue;
        ++n;
        for (const TextField& field : record.fields) {
            if (field.text.find(',') == std::string::npos) continue;
            const FieldKind kind = ReadField(field.text, decimal, true, false).kind;
            if (kind == FieldKind::Number || kind == FieldKind::TooLarge) return false;
        }
    }
    return true;
}

// The separator ---------------------------------------------------------------------------------

char ChooseSeparator(std::string_view text, Separators separators, bool blanksIfNone) {
    std::vector<char> candidates;
    for (char c : {'\t', ';', separators.list, ','}) {
        const bool usable = c != separators.decimal && c != '.' && c != '"' && c != ' ' &&
                            c != '\r' && c != '\n' && c != '\0' && !IsDigit(c);
        if (usable && std::find(candidates.begin(), candidates.end(), c) == candidates.end()) {
            candidates.push_back(c);
        }
    }
    char best = 0;
    long long bestScore = 0;
    for (char c : candidates) {
        RecordReader reader(text, c);
        TextRecord record;
        long long score = 0;
        for (int n = 0, lines = 0; n < SeparatorSampleRecords && lines < SeparatorSampleLines &&
                                   reader.Next(record);
             ++lines) {
            if (record.blank) continue;
            ++n;
            if (record.fieldCount < 2) continue;
            for (const TextField& field : record.fields) {
                const FieldKind kind = ReadField(field.text, separators.decimal,
                                                 GroupingAllowed(field, c, separators.decimal))
                                           .kind;
                if (kind == FieldKind::Number || kind == FieldKind::TooLarge) ++score;
            }
        }
        if (score > bestScore) {
            best = c;
            bestScore = score;
        }
    }
    if (bestScore > 0) return best;
    if (blanksIfNone) return BlanksSeparate;
    for (char c : candidates) {
        if (text.find(c) != std::string_view::npos) return c;
    }
    return NothingSeparates;
}

}  // namespace zelkon
