// Menu availability by step, data format and number of open documents.  The expected sets
// are written out by hand from the program's table of enabled commands per step.
#include "document/menu_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zelkon {
namespace {

/// The names of the step-dependent commands that are enabled.
std::set<std::string> EnabledCommands(const MenuState& m) {
    std::set<std::string> on;
    auto add = [&](bool flag, const char* name) {
        if (flag) on.insert(name);
    };
    add(m.cut, "Cut");
    add(m.copy, "Copy");
    add(m.paste, "Paste");
    add(m.transposePaste, "Transpose Paste");
    add(m.appendToNotes, "Append to Notes");
    add(m.clear, "Clear");
    add(m.selectColumn, "Select Column");
    add(m.selectRow, "Select Row");
    add(m.selectAll, "Select All");
    add(m.deleteCells, "Delete cells");
    add(m.insertCells, "Insert cells");
    add(m.transform, "Transform");
    add(m.combineVariables, "Combine Variables");
    add(m.numberFormat, "Number Format");
    add(m.exclude, "Exclude");
    add(m.print, "Print");
    add(m.import, "Import");
    add(m.exportData, "Export");
    return on;
}

MenuState StateOf(Step step, DataFormat format, int documents = 1) {
    return ComputeMenuState({documents, step, format});
}

TEST(MenuStateTest, EnabledCommandsFollowTheStep) {
    const std::set<std::string> spreadsheet = {
        "Cut",       "Copy",          "Paste",       "Clear",          "Append to Notes",
        "Select All", "Select Column", "Select Row", "Delete cells",   "Insert cells",
        "Transform", "Print",         "Import",      "Export",         "Combine Variables",
        "Number Format", "Transpose Paste", "Exclude"};
    EXPECT_EQ(EnabledCommands(StateOf(Step::Start, DataFormat::Raw)), std::set<std::string>{});
    EXPECT_EQ(EnabledCommands(StateOf(Step::DataTable, DataFormat::Raw)), spreadsheet);
    EXPECT_EQ(EnabledCommands(StateOf(Step::SummaryStats, DataFormat::Raw)),
              (std::set<std::string>{"Cut", "Copy", "Clear", "Delete cells", "Print", "Export"}));
    EXPECT_EQ(EnabledCommands(StateOf(Step::ChooseTest, DataFormat::Raw)), std::set<std::string>{});
    EXPECT_EQ(EnabledCommands(StateOf(Step::Results, DataFormat::Raw)),
              (std::set<std::string>{"Copy", "Select All", "Print", "Export", "Append to Notes"}));
    EXPECT_EQ(EnabledCommands(StateOf(Step::Graph, DataFormat::Raw)),
              (std::set<std::string>{"Copy", "Print", "Export"}));
}

TEST(MenuStateTest, DataPageDependsOnTheFormat) {
    // The two-by-two format shows its two-by-two sub-page: only Export.
    EXPECT_EQ(EnabledCommands(StateOf(Step::DataTable, DataFormat::TwoByTwo)),
              std::set<std::string>{"Export"});
    // A larger contingency table cannot exclude values; the other formats can.
    EXPECT_FALSE(StateOf(Step::DataTable, DataFormat::LargerTable).exclude);
    EXPECT_TRUE(StateOf(Step::DataTable, DataFormat::LargerTable).cut);
    for (DataFormat f : {DataFormat::XY, DataFormat::Raw, DataFormat::MultipleRegression}) {
        EXPECT_TRUE(StateOf(Step::DataTable, f).exclude);
    }
}

TEST(MenuStateTest, OnlyTheDataPageDependsOnTheFormat) {
    // Steps 1, 3, 4, 5 and 6 offer the same commands whatever the format.
    for (DataFormat f : AllDataFormats) {
        for (Step s : {Step::Start, Step::SummaryStats, Step::ChooseTest, Step::Results, Step::Graph}) {
            EXPECT_EQ(EnabledCommands(StateOf(s, f)), EnabledCommands(StateOf(s, DataFormat::Raw)))
                << "format " << static_cast<int>(f) << ", step " << static_cast<int>(s);
            EXPECT_EQ(StateOf(s, f).printCaption, StateOf(s, DataFormat::Raw).printCaption);
        }
    }
    // On the data page every format but the two-by-two table shows the spreadsheet.
    const std::set<std::string> sheet = EnabledCommands(StateOf(Step::DataTable, DataFormat::Raw));
    for (DataFormat f : {DataFormat::XY, DataFormat::MeanSDN, DataFormat::MeanSEMN,
                         DataFormat::MultipleRegression}) {
        EXPECT_EQ(EnabledCommands(StateOf(Step::DataTable, f)), sheet);
    }
    std::set<std::string> larger = sheet;
    larger.erase("Exclude");
    EXPECT_EQ(EnabledCommands(StateOf(Step::DataTable, DataFormat::LargerTable)), larger);
}

TEST(MenuStateTest, PrintCaptionFollowsTheStep) {
    EXPECT_EQ(StateOf(Step::Start, DataFormat::Raw).printCaption, "&Print");
    EXPECT_EQ(StateOf(Step::DataTable, DataFormat::Raw).printCaption, "Print Data");
    EXPECT_EQ(StateOf(Step::DataTable, DataFormat::TwoByTwo).printCaption, "Print Data");
    EXPECT_EQ(StateOf(Step::SummaryStats, DataFormat::Raw).printCaption, "Print Stats");
    EXPECT_EQ(StateOf(Step::ChooseTest, DataFormat::Raw).printCaption, "&Print");
    EXPECT_EQ(StateOf(Step::Results, DataFormat::Raw).printCaption, "Print Results");
    EXPECT_EQ(StateOf(Step::Graph, DataFormat::Raw).printCaption, "Print Graph");
}

TEST(MenuStateTest, StepItemsFollowTheFormat) {
    // Averaged formats have no data page; the contingency formats no statistics page;
    // the larger table nothing to choose.
    const MenuState averaged = StateOf(Step::SummaryStats, DataFormat::MeanSEMN);
    const bool averagedSteps[6] = {true, false, true, true, true, true};
    const MenuState larger = StateOf(Step::DataTable, DataFormat::LargerTable);
    const bool largerSteps[6] = {true, true, false, false, true, true};
    const MenuState xy = StateOf(Step::DataTable, DataFormat::XY);
    const bool xySteps[6] = {true, true, false, true, true, true};
    for (int s = 0; s < 6; ++s) {
        EXPECT_EQ(averaged.steps[s], averagedSteps[s]) << "step " << s + 1;
        EXPECT_EQ(larger.steps[s], largerSteps[s]) << "step " << s + 1;
        EXPECT_EQ(xy.steps[s], xySteps[s]) << "step " << s + 1;
    }
    EXPECT_FALSE(StateOf(Step::Start, DataFormat::Raw).previousStep);
    EXPECT_TRUE(StateOf(Step::Start, DataFormat::Raw).nextStep);
    EXPECT_TRUE(StateOf(Step::Graph, DataFormat::Raw).previousStep);
    EXPECT_FALSE(StateOf(Step::Graph, DataFormat::Raw).nextStep);
}

TEST(MenuStateTest, NoDocumentOpenDisablesTheDocumentCommands) {
    const MenuState none = ComputeMenuState({0, Step::DataTable, DataFormat::Raw});
    EXPECT_TRUE(none.noDocumentsPanel);
    EXPECT_TRUE(EnabledCommands(none).empty());
    EXPECT_FALSE(none.editMenu || none.save || none.saveAs || none.close || none.viewNotes ||
                 none.clearAll || none.cascade || none.tile || none.duplicate ||
                 none.nextWindow || none.nextStep || none.previousStep);
    for (bool step : none.steps) EXPECT_FALSE(step);

    const MenuState one = StateOf(Step::Start, DataFormat::Raw, 1);
    EXPECT_FALSE(one.noDocumentsPanel);
    EXPECT_TRUE(one.editMenu && one.save && one.saveAs && one.close && one.viewNotes &&
                one.clearAll && one.duplicate);
    // Window arrangement needs more than one document.
    EXPECT_FALSE(one.cascade || one.tile || one.nextWindow);
    const MenuState two = StateOf(Step::Start, DataFormat::Raw, 2);
    EXPECT_TRUE(two.cascade && two.tile && two.nextWindow);
}

}  // namespace
}  // namespace zelkon
