// Helpers shared by the widget tests: an offscreen, private environment, scripted answers to
// the program's questions, a scripted dialog runner and file chooser, and data entry.
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/platform.h"
#include "core/types.h"

class QDialog;
class QWidget;

namespace zelkon {
class Document;
}

namespace zelkon::test {

/// Before the QApplication: the offscreen platform and private settings and data folders
/// (XDG_CONFIG_HOME, XDG_DATA_HOME under a fresh temporary folder).
void PrepareGuiTestEnvironment();
/// The temporary folder PrepareGuiTestEnvironment made.
QString TestHome();
/// A fresh folder of that name inside it (made when missing).
QString TestFolder(const QString& name);
/// The path of an example data file of the project.
QString ExamplePath(const char* name);

/// Questions answered from a script (then with the default answer); every question and
/// message is recorded.
class ScriptedPrompts final : public UserPrompts {
public:
    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override;
    void Tell(std::string_view text) override;
    void Beep() override { ++beeps; }

    std::deque<PromptAnswer> answers;
    PromptAnswer defaultAnswer = PromptAnswer::No;
    std::vector<std::string> asked;
    std::vector<std::string> told;
    int beeps = 0;
    void Clear() {
        answers.clear();
        asked.clear();
        told.clear();
        beeps = 0;
        defaultAnswer = PromptAnswer::No;
    }
};

/// The scripted services of one test: prompts, a dialog runner that hands each dialog to
/// `onDialog` (rejecting it when none is set) and a file chooser answering from `files`.
struct TestServices {
    ScriptedPrompts prompts;
    std::function<int(QDialog&)> onDialog;
    std::deque<QString> files;
    int dialogsRun = 0;
    int filesAsked = 0;
};

/// Installs the scripted services (and the "." / "," separators) and returns them.
TestServices& InstallTestServices();

/// When ZELKON_SCREENSHOT_DIR is set (scripts/screenshots.sh sets it), saves the widget as
/// "<dir>/<name>.png"; otherwise does nothing.
void SaveScreenshot(QWidget& widget, const QString& name);

/// Types raw values into a column through the data set (as the grid does).
void TypeColumn(Document& doc, int column, const std::vector<Extended>& values);

}  // namespace zelkon::test

/// A main() for a QtTest class: the private offscreen environment, then the tests.
#define ZELKON_GUI_TEST_MAIN(TestClass)                      \
    int main(int argc, char** argv) {                        \
        zelkon::test::PrepareGuiTestEnvironment();           \
        QApplication app(argc, argv);                        \
        TestClass tests;                                     \
        return QTest::qExec(&tests, argc, argv);             \
    }
