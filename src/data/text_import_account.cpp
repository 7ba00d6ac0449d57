// The lines of the import's account and the paste's message.
#include "data/text_import_account.h"

namespace zelkon {

namespace {

std::string Count(std::int64_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// "line 5, column 2 "NA"; line 6, column 2 "n/a" and 3 more"
std::string Places(const NotedFields& fields) {
    std::string out;
    for (const NotedField& f : fields.first) {
        if (!out.empty()) out += "; ";
        out += "line " + std::to_string(f.line) + ", column " + std::to_string(f.column) + " \"" +
               f.text + "\"";
    }
    const auto shown = static_cast<std::int64_t>(fields.first.size());
    if (fields.count > shown) out += " and " + std::to_string(fields.count - shown) + " more";
    return out;
}

std::string LeftEmptyLine(const NotedFields& fields, std::string_view what) {
    return Count(fields.count, std::string(what) + "field that is not a number was",
                 std::string(what) + "fields that are not numbers were") +
           " left empty: " + Places(fields) + ".";
}

std::string TooLargeLine(const NotedFields& fields) {
    return Count(fields.count, "value of 1.7E38 or more in magnitude was",
                 "values of 1.7E38 or more in magnitude were") +
           " refused and left empty: " + Places(fields) + ".";
}

}  // namespace

void NotedFields::Note(std::int64_t line, std::int32_t column, std::string_view text) {
    ++count;
    if (first.size() >= FirstNotedFields) return;
    std::string shown;
    for (char c : text.substr(0, NotedTextLength)) {
        const auto u = static_cast<unsigned char>(c);
        shown.push_back(u < 32 || (u >= 127 && u < 160) ? '?' : c);
    }
    if (text.size() > NotedTextLength) shown += "...";
    first.push_back({line, column, std::move(shown)});
}

std::vector<std::string> AccountLines(const ImportAccount& account) {
    std::vector<std::string> lines;
    lines.push_back("The file was read as " +
                    EncodingName(account.encoding, account.byteOrderMark) + ".");
    if (account.replacedCharacters > 0) {
        lines.push_back(Count(account.replacedCharacters, "character", "characters") +
                        " that Zelkon cannot hold became \"?\".");
    }
    if (account.leftEmpty.count > 0) lines.push_back(LeftEmptyLine(account.leftEmpty, ""));
    if (account.tooLarge.count > 0) lines.push_back(TooLargeLine(account.tooLarge));
    if (!account.labels.empty()) {
        std::string line = "Left out as labels, holding no numbers: ";
        for (std::size_t i = 0; i < account.labels.size(); ++i) {
            const LabelColumnNote& label = account.labels[i];
            if (i > 0) line += "; ";
            line += "column " + std::to_string(label.column);
            line += label.title.empty() ? std::string(" (untitled)") : " \"" + label.title + "\"";
            if (label.rowTitles) line += " (its texts are the row titles)";
        }
        lines.push_back(line + ".");
    }
    if (account.rowsLeftOut > 0) {
        lines.push_back("The file holds " + Count(account.dataRows, "data row", "data rows") +
                        "; " + Count(account.rowsLeftOut, "row", "rows") + " after row " +
                        std::to_string(account.rowsKept) +
                        (account.rowsLeftOut == 1 ? " was" : " were") + " left out.");
    }
    if (account.columnsLeftOut > 0) {
        lines.push_back(Count(account.columnsLeftOut, "column", "columns") +
                        " holding numbers past column Z " +
                        (account.columnsLeftOut == 1 ? "was" : "were") + " left out.");
    }
    return lines;
}

std::string PasteAccountMessage(const NotedFields& leftEmpty, const NotedFields& tooLarge) {
    std::string message;
    if (leftEmpty.count > 0) message = LeftEmptyLine(leftEmpty, "pasted ");
    if (tooLarge.count > 0) {
        if (!message.empty()) message += "\n";
        message += TooLargeLine(tooLarge);
    }
    return message;
}

}  // namespace zelkon
