// Fuzz target: pasting clipboard text into the data sheet.  The bytes are the clipboard
// text; a hash of them chooses the selection (a cell, whole rows, whole columns or
// everything), the current cell, transpose and the user's decimal separator.  Afterwards
// every cell holds a finite value or nothing, and the sheet still writes and reads back.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>

#include "data/clipboard_text.h"
#include "document/data_file.h"
#include "document/document.h"
#include "fuzz_support.h"

namespace {

using namespace zelkon;

Selection ChooseSelection(std::uint32_t h) {
    const int row = static_cast<int>((h >> 8) % 1000);
    const int column = static_cast<int>((h >> 20) % DataColumns);
    switch (h % 4) {
        case 0: return Selection::Cell(row, column);
        case 1: return Selection::Rows(row, row + 2);
        case 2: return Selection::Columns(column, column);
        default: return Selection::All();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::uint32_t h = fuzz::InputHash(text);
    const bool transpose = (h >> 2) & 1;
    const Separators separators = (h >> 3) & 1 ? Separators{',', ';'} : Separators{};
    fuzz::QuietPrompts prompts((h >> 4) & 1 ? PromptAnswer::Yes : PromptAnswer::No);

    auto document = std::make_unique<Document>();
    PasteText(*document, ChooseSelection(h), text, transpose, separators, prompts);

    const DataTable& table = document->Table();
    for (int r = 0; r < ShownRows; ++r) {
        for (int c = 0; c < DataColumns; ++c) {
            const Extended v = table.Value(r, c);
            if (!IsMissingValue(v) && !std::isfinite(v)) fuzz::Fail("pasted value is not finite");
        }
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Decimals(c) < 0 || table.Decimals(c) > 15) fuzz::Fail("decimal places out of range");
    }
    DataFileContents contents{document->Data(), document->Choices(), document->Notes(),
                              document->Graph()};
    const std::string written = BuildDataFileText(contents);
    auto again = std::make_unique<Document>();
    DataFileContents back{again->Data(), again->Choices(), again->Notes(), again->Graph()};
    if (ReadDataFileText(back, written, DetectDataFormatOfText(written)) != 0)
        fuzz::Fail("pasted sheet does not read back");
    return 0;
}
