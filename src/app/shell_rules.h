// Rules of the application shell that need no window: the names of untitled documents, the
// has-content test of a document, the list of recently used files, the settings file's
// booleans, the main window's size and place at start-up, the tiling of the document windows
// and the Window menu's list of documents.
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

/// A size and a rectangle in pixels (a rectangle's left and top included).
struct WindowSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowSize&, const WindowSize&) = default;
};
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

/// The smallest first window (a size stored as 0 gives at least this, where the screen holds
/// it).
inline constexpr WindowSize SmallestStartSize{640, 480};

/// The main window's size at start-up from the stored width and height, before the screen
/// limits it: the stored size; when either is 0 (or less) the size that shows the start page
/// whole (`wanted`), at least 640 x 480.
WindowSize StartWindowSize(int storedWidth, int storedHeight, WindowSize wanted);

/// Where a window of `size` goes in the screen's available area: its frame (the window plus
/// `frame`, what the title bar and borders add) limited to the area and centred in it.  The
/// result is the frame's left and top corner and the size of the window inside the frame.
WindowRect PlaceInArea(WindowSize size, WindowSize frame, WindowRect area);

/// Window > Tile: `count` windows in the document area at its size, never beyond it.  The
/// windows fill rows of ceil(sqrt(count)) columns from the top; a last, shorter row is shared
/// by its windows.  Widths and heights add up to the area's exactly.
std::vector<WindowRect> TileRects(int count, WindowRect area);

/// An entry of the Window menu's list of open documents: "&1 " and the name, checked for the
/// active one.
struct WindowMenuEntry {
    std::string caption;
    bool checked = false;
};
std::vector<WindowMenuEntry> WindowMenuEntries(const std::vector<std::string>& names, int active);

}  // namespace zelkon
