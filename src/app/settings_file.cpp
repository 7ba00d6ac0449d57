#include "app/settings_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <filesystem>

#include "app/shell_rules.h"
#include "core/file_io.h"
#include "core/latin1.h"

namespace zelkon {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr std::string_view Options = "Options";
constexpr std::string_view WindowSizeSection = "WindowSize";
constexpr std::string_view Filenames = "Filenames";

/// The key of the i-th recent file: "#1" to "#9".
std::string RecentFileKey(std::size_t i) { return std::string(1, '#').append(std::to_string(i)); }

}  // namespace

IniFile::Section* IniFile::Find(std::string_view name) {
    for (Section& s : sections_) {
        if (SameName(s.name, name)) return &s;
    }
    return nullptr;
}

const IniFile::Section* IniFile::Find(std::string_view name) const {
    for (const Section& s : sections_) {
        if (SameName(s.name, name)) return &s;
    }
    return nullptr;
}

void IniFile::Parse(std::string_view text) {
    sections_.clear();
    sections_.push_back({"", {}});  // keys before the first section
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, at a lone LF or at a lone CR.
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        const std::string trimmed = TrimBlanks(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            sections_.push_back({trimmed.substr(1, trimmed.size() - 2), {}});
            continue;
        }
        // Only settings are kept: comments, blank lines and anything else are dropped, and
        // the file is written back without them.
        const std::size_t equals = trimmed.find('=');
        if (trimmed.empty() || trimmed.front() == ';' || equals == std::string::npos || equals == 0) continue;
        sections_.back().entries.push_back(
            {TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))});
    }
}

std::string IniFile::Text() const {
    std::string out;
    for (const Section& s : sections_) {
        if (s.name.empty() && s.entries.empty()) continue;
        if (!s.name.empty()) {
            if (!out.empty()) out += "\r\n";  // a blank line between sections
            out += "[" + s.name + "]\r\n";
        }
        for (const Entry& e : s.entries) {
            // A line break cannot be part of a line: such a key or value is not written.
            if (e.key.find_first_of("\r\n") != std::string::npos ||
                e.value.find_first_of("\r\n") != std::string::npos)
                continue;
            out += e.key + "=" + e.value + "\r\n";
        }
    }
    return out;
}

std::string IniFile::Get(std::string_view section, std::string_view key,
                         std::string_view fallback) const {
    if (const Section* s = Find(section)) {
        for (const Entry& e : s->entries) {
            if (!e.key.empty() && SameName(e.key, key)) return e.value;
        }
    }
    return std::string(fallback);
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
    const std::string text = Get(section, key);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = Find(section);
    if (s == nullptr) {
        sections_.push_back({std::string(section), {}});
        s = &sections_.back();
    }
    for (Entry& e : s->entries) {
        if (!e.key.empty() && SameName(e.key, key)) {
            e.value = std::string(value);
            return;
        }
    }
    s->entries.push_back({std::string(key), std::string(value)});
}

ZelkonSettings ReadSettings(const IniFile& ini) {
    ZelkonSettings s;
    s.dataFolder = ini.Get(Options, "Zelkon folder");
    s.importFolder = ini.Get(Options, "Import folder");
    s.showHints = ParseSettingsBool(ini.Get(Options, "ShowNewUserHints", "True"));
    s.width = ini.GetInt(WindowSizeSection, "Width", 0);
    s.height = ini.GetInt(WindowSizeSection, "Height", 0);
    s.maximized = ParseSettingsBool(ini.Get(WindowSizeSection, "Maximized", "False"));
    for (std::size_t i = 1; i <= RecentFileCount; ++i) {
        const std::string name = ini.Get(Filenames, RecentFileKey(i));
        if (name.empty()) break;
        s.recentFiles.push_back(name);
    }
    return s;
}

namespace {

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

/// What the file can hold of a name: a name with a line break in it is not kept.
std::string_view Writable(std::string_view text) { return HasLineBreak(text) ? std::string_view{} : text; }

/// Why the settings file cannot be used, or empty when it can (or does not exist yet).
std::string RefusalOf(const std::string& path, const FileReadStatus& status) {
    std::string reason;
    switch (status.fault) {
        case ReadFault::None: return {};
        case ReadFault::NotRegularFile: reason = "is not a regular file"; break;
        case ReadFault::TooLarge:
            reason = "is larger than " + std::to_string(SettingsReadLimit >> 20) + " MB";
            break;
        case ReadFault::System:
            if (status.error == ENOENT) return {};
            reason = "cannot be read";
            break;
    }
    return "The settings file " + Utf8ToLatin1(path) + " " + reason +
           ". It is ignored: settings are neither read from it nor saved to it.";
}

}  // namespace

void WriteSettings(IniFile& ini, const ZelkonSettings& s) {
    ini.Set(Options, "Zelkon folder", Writable(s.dataFolder));
    ini.Set(Options, "Import folder", Writable(s.importFolder));
    ini.Set(Options, "ShowNewUserHints", SettingsBoolText(s.showHints));
    ini.Set(WindowSizeSection, "Width", std::to_string(s.width));
    ini.Set(WindowSizeSection, "Height", std::to_string(s.height));
    ini.Set(WindowSizeSection, "Maximized", SettingsBoolText(s.maximized));
    // The recent files that the file can hold, without gaps (a gap ends the list).
    std::vector<std::string_view> recent;
    for (const std::string& name : s.recentFiles) {
        if (!name.empty() && !HasLineBreak(name)) recent.push_back(name);
    }
    for (std::size_t i = 1; i <= RecentFileCount; ++i) {
        ini.Set(Filenames, RecentFileKey(i), i <= recent.size() ? recent[i - 1] : "");
    }
}

ZelkonSettings LoadSettingsFile(const std::string& path, IniFile* iniOut, std::string* refusal) {
    IniFile ini;
    std::string text;
    const FileReadStatus status = ReadFileWithin(path, SettingsReadLimit, text);
    if (status.Ok()) ini.Parse(text);
    if (refusal != nullptr) *refusal = RefusalOf(path, status);
    if (iniOut != nullptr) *iniOut = ini;
    return ReadSettings(ini);
}

bool SaveSettingsFile(const std::string& path, const ZelkonSettings& settings) {
    IniFile ini;
    std::string text;
    const FileReadStatus status = ReadFileWithin(path, SettingsReadLimit, text);
    if (!RefusalOf(path, status).empty()) return false;  // never replace what was not read
    if (status.Ok()) ini.Parse(text);
    WriteSettings(ini, settings);
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    return WriteFileAtomically(path, ini.Text());
}

}  // namespace zelkon
