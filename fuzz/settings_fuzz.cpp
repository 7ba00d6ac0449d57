// Fuzz target: the settings file reader.  The bytes are a settings file; the settings read
// from it are written back into it, and reading the written text gives the same settings.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkon;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile ini;
    ini.Parse(text);
    const ZelkonSettings settings = ReadSettings(ini);
    WriteSettings(ini, settings);
    const std::string written = ini.Text();

    IniFile again;
    again.Parse(written);
    const ZelkonSettings back = ReadSettings(again);
    if (back.dataFolder != settings.dataFolder || back.importFolder != settings.importFolder ||
        back.showHints != settings.showHints || back.width != settings.width ||
        back.height != settings.height || back.recentFiles != settings.recentFiles)
        fuzz::Fail("settings changed on the way through the file");
    if (again.Text() != written) fuzz::Fail("settings file text not stable");
    return 0;
}
