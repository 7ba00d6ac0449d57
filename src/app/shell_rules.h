// Rules of the application shell that need no window: the names of untitled documents, the
// has-content test of a document, the list of recently used files, the settings file's
// booleans and the main window's size at start-up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelkon {

class Document;

/// The most documents open at one time.
inline constexpr int MaxDocuments = 10;
/// The length of the recent-files list.
inline constexpr std::size_t RecentFileCount = 9;

/// "DATASET" + n + ".ZLD" with the smallest n from 1 to 10 that no open document uses (names
/// compared exactly); empty when all ten are in use.
std::string UntitledName(const std::vector<std::string>& openNames);

/// True when the document holds something worth keeping: a data title, or by data format
/// data in the table (X and Y, larger table, multiple regression), data in the table or a
/// column with N > 0 (raw data), a column with N > 0 (averaged formats), or a two-by-two
/// cell that is not missing.
bool HasContent(const Document& document);

/// Puts a name at the top of the recent files: an entry with the same name is removed first,
/// the others move down and the list keeps at most RecentFileCount entries.
void AddRecentFile(std::vector<std::string>& recent, const std::string& name);

/// A boolean of the settings file: true for "TRUE", "YES" (any letter case) or "1".
bool ParseSettingsBool(std::string_view text);
/// How the settings file writes a boolean: "True" or "False".
std::string_view SettingsBoolText(bool value);

/// The main window's size at start-up from the stored width and height: 640 x 480 when either
/// is 0 (or less), otherwise each limited to the screen's width and height.
struct WindowSize {
    int width = 0;
    int height = 0;
};
WindowSize StartWindowSize(int storedWidth, int storedHeight, int screenWidth, int screenHeight);

}  // namespace zelkon
