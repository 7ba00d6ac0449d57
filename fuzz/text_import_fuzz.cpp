// Fuzz target: the text importer.  The bytes are a text file to import; it is read as the
// Import command reads it (checks, messages, preview) with "." and with "," as the decimal
// separator, and the preview's counts must stay within the table.
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ImportWith(text, Separators{});
    ImportWith(text, Separators{',', ';'});
    (void)CountTitleLines(text);
    return 0;
}
