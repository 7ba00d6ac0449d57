// The settings file "ZELKON.INI": an initialisation file of sections and keys.  The program
// reads the keys of "Options", "WindowSize" and "Filenames" at start-up and writes them back
// at exit; sections and keys it does not know are kept as they were, lines that are not
// settings (comments, blank lines, stray text) are dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelkon {

/// An initialisation file: sections of "key=value" lines, names matched without regard to
/// letter case, order kept.
class IniFile {
public:
    /// Reads the text of a file (lines ending in CR LF, LF or CR alone): section headers and
    /// "key=value" lines; every other line (";" comments among them) is dropped.
    void Parse(std::string_view text);
    /// The whole text, lines ending in CR LF, a blank line before each section after the
    /// first.  A key or value holding a line break is not written.
    std::string Text() const;

    /// The value of a key, or `fallback` when the key is missing.
    std::string Get(std::string_view section, std::string_view key,
                    std::string_view fallback = {}) const;
    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    Section* Find(std::string_view name);
    const Section* Find(std::string_view name) const;

    std::vector<Section> sections_;
};

/// What the program keeps in the settings file.
struct ZelkonSettings {
    std::string dataFolder;     ///< "Options", "Zelkon folder"
    std::string importFolder;   ///< "Options", "Import folder"
    bool showHints = true;      ///< "Options", "ShowNewUserHints"
    int width = 0;              ///< "WindowSize", "Width": of the window when not maximised
    int height = 0;             ///< "WindowSize", "Height"
    bool maximized = false;     ///< "WindowSize", "Maximized": the window was left maximised
    std::vector<std::string> recentFiles;  ///< "Filenames", "#1" to "#9"
};

/// Reads the settings from a file's text (missing keys keep their defaults; the recent files
/// end at the first empty entry).
ZelkonSettings ReadSettings(const IniFile& ini);
/// Writes the settings into the file's sections (other sections and keys are kept).  Names
/// holding a line break cannot be written: such a folder is written empty, such a recent
/// file is left out of the list.
void WriteSettings(IniFile& ini, const ZelkonSettings& settings);

/// Reads the settings file (at most SettingsReadLimit bytes, opened without blocking).  The
/// defaults when it does not exist or cannot be used; `refusal` (when given) receives the
/// message for a file that exists but cannot be used (not a regular file, too large,
/// unreadable), empty otherwise.
ZelkonSettings LoadSettingsFile(const std::string& path, IniFile* ini = nullptr,
                                std::string* refusal = nullptr);
/// Writes the settings into the file, keeping what else it holds; the file is replaced only
/// after a complete write.  Creates the folder when needed.  False when writing failed or
/// the file cannot be used (then it is left alone).
bool SaveSettingsFile(const std::string& path, const ZelkonSettings& settings);

}  // namespace zelkon
