// Fuzz target: the whole run of a data file.  The bytes are a data file; it is read with its
// detected format code (a file without one is read with a code taken from its length), its
// chosen analysis is run as step 5 runs it, and the results report is written to a file as
// the Export command writes it.  Typed-in N, cell counts and choices come from the bytes, so
// the arithmetic of every analysis is fuzzed (integer overflow stops the run under the
// sanitizer), not only the parsing.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "data/export.h"
#include "document/analysis_run.h"
#include "document/data_file.h"
#include "document/document.h"
#include "fuzz_support.h"

namespace {

using namespace zelkon;

const std::string& ScratchPath() {
    static const std::string path = fuzz::ScratchPath("analysis-fuzz", ".txt");
    return path;
}

void RemoveScratch() { std::remove(ScratchPath().c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (std::atexit(RemoveScratch), true);
    (void)registered;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::int32_t detected = DetectDataFormatOfText(bytes);
    const std::int32_t code = detected != 0 ? detected : 1 + static_cast<std::int32_t>(size % 7);
    const Separators separators = fuzz::InputHash(bytes) % 4 == 0 ? Separators{',', ';'} : Separators{};

    auto doc = std::make_unique<Document>();
    const std::int32_t result = ReadDataFileText(
        DataFileContents{doc->Data(), doc->Choices(), doc->Notes(), doc->Graph()}, bytes, code,
        separators);
    if (result != 0 && result != IoErrorInvalidNumericFormat) fuzz::Fail("unexpected read result");
    doc->SetNeedsRecalculation(true);
    Calculate(*doc);
    if (doc->ErrorCode() < 0) fuzz::Fail("negative error code");
    if (doc->Report().Text().empty()) fuzz::Fail("no report written");
    if (WriteExportFile(ScratchPath(), ExportResultsText(doc->Report())) != 0)
        fuzz::Fail("report could not be written");
    return 0;
}
