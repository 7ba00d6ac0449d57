#include "app/shell_rules.h"

#include <algorithm>
#include <cctype>

#include "document/document.h"

namespace zelkon {

std::string UntitledName(const std::vector<std::string>& openNames) {
    for (int n = 1; n <= MaxDocuments; ++n) {
        const std::string name = "DATASET" + std::to_string(n) + ".ZLD";
        if (std::find(openNames.begin(), openNames.end(), name) == openNames.end()) return name;
    }
    return {};
}

namespace {
bool SomeColumnHasN(const DataTable& table) {
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Record(c).n > 0) return true;
    }
    return false;
}
}  // namespace

bool HasContent(const Document& document) {
    const DataTable& table = document.Table();
    if (!table.DataTitle().empty()) return true;
    switch (document.Format()) {
        case DataFormat::XY:
        case DataFormat::LargerTable:
        case DataFormat::MultipleRegression: return table.HasData();
        case DataFormat::Raw: return table.HasData() || SomeColumnHasN(table);
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN: return SomeColumnHasN(table);
        case DataFormat::TwoByTwo: return !document.Data().TwoByTwo().AllCellsMissing();
    }
    return false;
}

void AddRecentFile(std::vector<std::string>& recent, const std::string& name) {
    recent.erase(std::remove(recent.begin(), recent.end(), name), recent.end());
    recent.insert(recent.begin(), name);
    if (recent.size() > RecentFileCount) recent.resize(RecentFileCount);
}

bool ParseSettingsBool(std::string_view text) {
    std::string upper;
    for (char ch : text) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
    return upper == "TRUE" || upper == "YES" || upper == "1";
}

std::string_view SettingsBoolText(bool value) { return value ? "True" : "False"; }

WindowSize StartWindowSize(int storedWidth, int storedHeight, WindowSize wanted) {
    if (storedWidth > 0 && storedHeight > 0) return {storedWidth, storedHeight};
    return {std::max(wanted.width, SmallestStartSize.width), std::max(wanted.height, SmallestStartSize.height)};
}

WindowRect PlaceInArea(WindowSize size, WindowSize frame, WindowRect area) {
    const int width = std::max(1, std::min(size.width, area.width - frame.width));
    const int height = std::max(1, std::min(size.height, area.height - frame.height));
    return {area.left + std::max(0, (area.width - width - frame.width) / 2),
            area.top + std::max(0, (area.height - height - frame.height) / 2), width, height};
}

std::vector<WindowRect> TileRects(int count, WindowRect area) {
    std::vector<WindowRect> tiles;
    if (count <= 0) return tiles;
    int columns = 1;
    while (columns * columns < count) ++columns;
    const int rows = (count + columns - 1) / columns;
    // Edges at whole pixels: part i of n ends at (i + 1) * length / n.
    const auto edge = [](int length, int i, int n) { return static_cast<int>(static_cast<long long>(length) * i / n); };
    for (int row = 0; row < rows; ++row) {
        const int inRow = row < rows - 1 ? columns : count - columns * (rows - 1);
        const int top = area.top + edge(area.height, row, rows);
        const int bottom = area.top + edge(area.height, row + 1, rows);
        for (int column = 0; column < inRow; ++column) {
            const int left = area.left + edge(area.width, column, inRow);
            const int right = area.left + edge(area.width, column + 1, inRow);
            tiles.push_back({left, top, right - left, bottom - top});
        }
    }
    return tiles;
}

std::vector<WindowMenuEntry> WindowMenuEntries(const std::vector<std::string>& names, int active) {
    std::vector<WindowMenuEntry> entries;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string caption(1, '&');
        caption.append(std::to_string(i + 1)).append(1, ' ').append(names[i]);
        entries.push_back({std::move(caption), static_cast<int>(i) == active});
    }
    return entries;
}

}  // namespace zelkon
