// The field reader shared by text import and paste: records and fields of delimited text
// with the usual quoting (separators and line breaks inside double quotes, doubled quotes),
// the choice of the separator a text uses, and how one field reads: a number (with regular
// thousands grouping where the separator cannot split it), a value marked excluded, an empty
// field, a number too large to hold, or text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"
#include "core/types.h"

namespace zelkon {

/// The separator of fields that are runs of blanks (blank-separated text).
inline constexpr char BlanksSeparate = '\0';
/// The separator of text whose lines are single fields.
inline constexpr char NothingSeparates = '\n';

/// Fields kept per record (the rest are only counted) and characters kept per field.
inline constexpr std::size_t MaxKeptFields = 4096;
inline constexpr std::size_t MaxFieldText = 1024;

/// One field: its characters (quotes removed, doubled quotes undone, a quoted line break as
/// LF), whether it was quoted and whether it needed the quotes (it holds the separator, a
/// quote or a line break).
struct TextField {
    std::string text;
    bool quoted = false;
    bool needsQuotes = false;
    bool cut = false;  ///< longer than MaxFieldText; the rest was dropped
};

/// One record of the text: a line, continued past a line break inside quotes.
struct TextRecord {
    std::int64_t line = 1;    ///< the file line it starts on, from 1
    std::string_view source;  ///< its characters, without the line break
    std::vector<TextField> fields;
    std::int64_t fieldCount = 0;  ///< every field, also those past MaxKeptFields
    bool blank = true;            ///< no field holds anything but blanks
};

/// Reads the records of a text one by one.  A line ends at CR LF, LF or a lone CR.  A double
/// quote opens a quoted field only at the field's start and only when a closing quote follows
/// somewhere in the text.
class RecordReader {
  public:
    RecordReader(std::string_view text, char separator);
    /// The next record; false at the end of the text.
    bool Next(TextRecord& record);

  private:
    void TakeField(TextRecord& record, bool& recordEnds);
    void EndLine();

    std::string_view text_;
    char separator_;
    std::size_t pos_ = 0;
    std::int64_t line_ = 1;
    std::size_t lastQuote_;
};

/// How a field reads.
enum class FieldKind { Empty, Number, Text, TooLarge };

struct FieldReading {
    FieldKind kind = FieldKind::Empty;
    Extended value = MissingValue;  ///< for Number: kept to 15 significant digits
    bool excluded = false;          ///< for Number: marked "*"
};

/// The largest magnitude a value may have: the missing-value marker and beyond are refused.
inline constexpr Extended ValueLimit = MissingValue;

/// Reads one field.  Blanks around it are ignored; an empty field (or a lone "*") is Empty.
/// A "*" at the end or the start marks the value excluded.  The number has an optional sign,
/// digits with the user's decimal separator or ".", and an optional exponent.  Where the
/// separator cannot split the field (`groupingAllowed`), regular thousands grouping is read:
/// "1,234.5" with "." as the decimal separator, "1.234,5" with ","; with "," as the decimal
/// separator a single "." is the decimal point ("2.5") when `pointIsDecimal`, else it groups
/// thousands ("12.000").  Any other shape, "NA", "<0.05", "12:30" or "5%" is Text; a number
/// of magnitude 1.7E38 or more is TooLarge.
FieldReading ReadField(std::string_view field, char decimal, bool groupingAllowed,
                       bool pointIsDecimal = true);

/// With "," as the decimal separator, whether a single "." in a field of the text is the
/// decimal point: true unless the text writes decimal commas (a field of its first lines
/// reads as a number by its comma), where "12.000" means twelve thousand.  Always true for
/// other decimal separators.
bool PointIsDecimal(std::string_view text, char separator, char decimal);

/// Whether the grouping character (the one of "," and "." that is not the decimal
/// separator) may stand in a field of text separated by `separator`.
bool GroupingAllowed(const TextField& field, char separator, char decimal);

/// The separator a text uses: of TAB, ";", the user's list separator and "," (a character
/// that is the decimal separator never separates), the one whose fields read as the most
/// numbers over the first lines, ties going to that order.  When no candidate splits a
/// line into fields holding a number: blanks (BlanksSeparate) when `blanksIfNone`, otherwise
/// the first candidate found in the text, or NothingSeparates.
char ChooseSeparator(std::string_view text, Separators separators, bool blanksIfNone);

}  // namespace zelkon
