// Fuzz target: the text importer.  The bytes are a text file to import; it is read as the
// Import command reads it (decoding, checks, messages, preview) with "." and with "," as the
// decimal separator; the preview's counts must stay within the table, label columns hold no
// values, and the account never lists more fields than it counted.
#include <cstdint>
#include <string_view>

#include "data/text_import.h"
#include "fuzz_support.h"

namespace {

using namespace zelkon;

void ImportWith(std::string_view text, Separators separators) {
    fuzz::QuietPrompts prompts;
    const auto preview = ReadImportText(text, separators, prompts);
    if (!preview) return;
    if (preview->rows < 0 || preview->rows > ImportRowLimit) fuzz::Fail("row count out of range");
    if (preview->columns < 0 || preview->columns > DataColumns) fuzz::Fail("column count out of range");
    if (preview->titleLines < 0) fuzz::Fail("negative title line count");
    const ImportAccount& account = preview->account;
    if (static_cast<std::int64_t>(account.leftEmpty.first.size()) > account.leftEmpty.count ||
        account.leftEmpty.first.size() > FirstNotedFields) {
        fuzz::Fail("account lists more fields than it counted");
    }
    if (account.rowsLeftOut < 0 || account.columnsLeftOut < 0) fuzz::Fail("negative count");
    for (int c = 0; c < DataColumns; ++c) {
        if (preview->IsLabelColumn(c) && preview->table->ColumnHasValue(c)) {
            fuzz::Fail("a label column holds values");
        }
    }
    if (!preview->table->HasData()) fuzz::Fail("a preview without values was accepted");
    for (const std::string& line : AccountLines(account)) {
        if (line.find('\0') != std::string::npos) fuzz::Fail("zero byte in the account");
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (preview->table->Record(c).title.find('\0') != std::string::npos) {
            fuzz::Fail("zero byte in a title");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ImportWith(text, Separators{});
    ImportWith(text, Separators{',', ';'});
    (void)CountTitleLines(text);
    return 0;
}
