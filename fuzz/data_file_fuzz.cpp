// Fuzz target: the data file reader.  The bytes are a data file on disk; it goes through the
// checks made before opening and is read with its detected format code (a refused file is
// read anyway, with a code taken from its length, so every reader sees every input).  What
// was read is then written and read back twice: the last two texts must agree.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "document/data_file.h"
#include "document/document.h"
#include "fuzz_support.h"

namespace {

using namespace zelkon;

const std::string& ScratchPath() {
    static const std::string path = fuzz::ScratchPath("fuzz", ".ZLD");
    return path;
}

void RemoveScratch() { std::remove(ScratchPath().c_str()); }

DataFileContents ContentsOf(Document& d) {
    return DataFileContents{d.Data(), d.Choices(), d.Notes(), d.Graph()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (std::atexit(RemoveScratch), true);
    (void)registered;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    {
        std::FILE* f = std::fopen(ScratchPath().c_str(), "wb");
        if (f == nullptr) return 0;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const DataFileOpenCheck check = CheckDataFileForOpening(ScratchPath());
    if ((check.code == 0) == check.message.empty()) fuzz::Fail("open check: code and message disagree");
    const std::int32_t code = check.code != 0 ? check.code : 1 + static_cast<std::int32_t>(size % 7);
    const Separators separators = fuzz::InputHash(bytes) % 4 == 0 ? Separators{',', ';'} : Separators{};

    auto first = std::make_unique<Document>();
    const std::int32_t result = LoadDataFile(*first, ScratchPath(), code, separators);
    if (result != 0 && result != IoErrorInvalidNumericFormat) fuzz::Fail("unexpected read result");

    // Round trip.  The first write may drop what the layout cannot hold (raw cells read from
    // a file of an averaged-data format, say); from then on a written file must read back to
    // the same text.
    std::string written = BuildDataFileText(ContentsOf(*first));
    for (int generation = 0; generation < 2; ++generation) {
        const std::int32_t writtenCode = DetectDataFormatOfText(written);
        if (writtenCode < 1 || writtenCode > 7) fuzz::Fail("written file has no format code");
        auto next = std::make_unique<Document>();
        if (ReadDataFileText(ContentsOf(*next), written, writtenCode, separators) != 0)
            fuzz::Fail("written file does not read back");
        std::string again = BuildDataFileText(ContentsOf(*next));
        if (generation == 1 && again != written) fuzz::Fail("round trip changed the file");
        written = std::move(again);
    }
    return 0;
}
