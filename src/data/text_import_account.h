// The account of an import or a paste: which encoding was read, which fields were left
// empty because they are not numbers (with the first few, by line and column), which values
// were refused as too large, which columns were left out as labels, and which rows and
// columns did not fit.  The Import dialog shows it before OK, zelkon-cli import prints it,
// and a paste tells it in one message.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/latin1_decode.h"

namespace zelkon {

/// Fields the account lists by place.
inline constexpr std::size_t FirstNotedFields = 5;
/// Characters of a noted field's text that are shown.
inline constexpr std::size_t NotedTextLength = 20;

/// A field the account names: its line in the file and its column, both from 1, and text.
struct NotedField {
    std::int64_t line = 0;
    std::int32_t column = 0;
    std::string text;
};

/// Fields of one kind: how many, and the first few.
struct NotedFields {
    std::int64_t count = 0;
    std::vector<NotedField> first;

    /// Counts a field and keeps it when fewer than FirstNotedFields are kept (its text cut to
    /// NotedTextLength characters, control characters shown as "?").
    void Note(std::int64_t line, std::int32_t column, std::string_view text);
};

/// A column left out because it holds no number.
struct LabelColumnNote {
    std::int32_t column = 0;  ///< from 1
    std::string title;
    bool rowTitles = false;  ///< its texts became the row titles
};

struct ImportAccount {
    TextEncoding encoding = TextEncoding::Ascii;
    bool byteOrderMark = false;
    std::int64_t replacedCharacters = 0;  ///< characters that became "?"
    NotedFields leftEmpty;                ///< fields that are not numbers
    NotedFields tooLarge;                 ///< numbers of 1.7E38 or more in magnitude
    std::vector<LabelColumnNote> labels;
    std::int64_t dataRows = 0;     ///< data rows in the file
    std::int64_t rowsLeftOut = 0;  ///< data rows past the rows kept
    std::int32_t rowsKept = 0;
    std::int32_t columnsLeftOut = 0;  ///< columns past Z holding numbers
};

/// The account as lines of text, the encoding first.
std::vector<std::string> AccountLines(const ImportAccount& account);

/// The message after a paste that left fields empty or refused values; empty when there is
/// nothing to tell.
std::string PasteAccountMessage(const NotedFields& leftEmpty, const NotedFields& tooLarge);

}  // namespace zelkon
