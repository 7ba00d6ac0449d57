#include "ui_test_support.h"

#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "document/document.h"
#include "ui/ui_services.h"

namespace zelkon::test {

namespace {
QString& Home() {
    static QString home;
    return home;
}
}  // namespace

void PrepareGuiTestEnvironment() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char pattern[] = "/tmp/zelkon-gui-test-XXXXXX";
    const char* folder = ::mkdtemp(pattern);
    if (folder == nullptr) std::abort();
    Home() = QString::fromLocal8Bit(folder);
    static std::string removeAtExit;
    removeAtExit = folder;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(removeAtExit, ec);
    });
    const std::string config = std::string(folder) + "/config";
    const std::string data = std::string(folder) + "/data";
    const std::string runtime = std::string(folder) + "/runtime";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

QString TestHome() { return Home(); }

QString TestFolder(const QString& name) {
    QDir home(Home());
    home.mkpath(name);
    return home.filePath(name);
}

QString ExamplePath(const char* name) {
    return QStringLiteral(ZELKON_SOURCE_DIR "/examples/") + QLatin1String(name);
}

void SaveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("ZELKON_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

PromptAnswer ScriptedPrompts::Ask(std::string_view text, PromptButtons) {
    asked.emplace_back(text);
    if (answers.empty()) return defaultAnswer;
    const PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompts::Tell(std::string_view text) { told.emplace_back(text); }

TestServices& InstallTestServices() {
    static TestServices* services = nullptr;
    delete services;
    services = new TestServices;
    UiServices& ui = Services();
    ui.prompts = &services->prompts;
    TestServices* s = services;
    ui.runDialog = [s](QDialog& dialog) {
        ++s->dialogsRun;
        return s->onDialog ? s->onDialog(dialog) : int(QDialog::Rejected);
    };
    ui.chooseFile = [s](QWidget*, const FileDialogRequest&) {
        ++s->filesAsked;
        if (s->files.empty()) return QString();
        const QString name = s->files.front();
        s->files.pop_front();
        return name;
    };
    ui.separators = Separators{};
    ui.numberTitleMemory = NumberTitleQuestionMemory{};
    return *services;
}

void TypeColumn(Document& doc, int column, const std::vector<Extended>& values) {
    ScriptedPrompts yes;
    yes.defaultAnswer = PromptAnswer::Yes;
    for (std::size_t r = 0; r < values.size(); ++r) {
        doc.Data().EnterRawValue(static_cast<int>(r), column, values[r], yes);
    }
}

}  // namespace zelkon::test
