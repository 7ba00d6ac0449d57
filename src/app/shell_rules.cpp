#include "app/shell_rules.h"

#include <algorithm>
#include <cctype>

#include "core/document.h"

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

WindowSize StartWindowSize(int storedWidth, int storedHeight, int screenWidth, int screenHeight) {
    if (storedWidth <= 0 || storedHeight <= 0) return {640, 480};
    return {std::min(storedWidth, screenWidth), std::min(storedHeight, screenHeight)};
}

}  // namespace zelkon
