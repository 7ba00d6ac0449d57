// zelkon: the desktop program.  A second start hands its file over to the copy that is
// already running and ends; otherwise the splash screen shows while the main window starts.
#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <QFileInfo>
#include <QTimer>

#include "app/about_form.h"
#include "app/file_association.h"
#include "app/main_form.h"
#include "app/single_instance.h"
#include "zelkon_version.h"

namespace {

constexpr const char* Usage =
    "usage: zelkon [FILE.ZLD]\n"
    "       zelkon --version | --help\n"
    "\n"
    "Opens the data file, or a new document; a file given while the program is already\n"
    "running is handed to the running copy.  zelkon-cli runs the same engine in a terminal.\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before the window system is asked for, so they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zelkon %s\n", ZELKON_VERSION_TEXT);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    // Qt takes the whole locale from the environment; the engine writes and reads numbers
    // with "." and does the user's separators itself, so numbers stay in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Zelkon"));
    QApplication::setOrganizationName(QStringLiteral("Kestrane"));

    const QStringList args = QApplication::arguments();
    const QString file = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();

    zelkon::TSingleInstance instance;
    if (instance.HandOver(file, 3000)) return 0;
    instance.Listen();

    zelkon::TAboutForm splash;
    splash.show();
    zelkon::TMainForm form;
    // A hand-over restores the window as it was (maximised stays maximised) and opens the
    // file, or brings its window to the front when it is open already.
    QObject::connect(&instance, &zelkon::TSingleInstance::raiseRequested, &form,
                     &zelkon::TMainForm::BringToFront, Qt::QueuedConnection);
    QObject::connect(&instance, &zelkon::TSingleInstance::openRequested, &form,
                     &zelkon::TMainForm::HandOverFile, Qt::QueuedConnection);
    QObject::connect(&form, &zelkon::TMainForm::firstActivated, &splash, &QWidget::close);
    form.SetStartArgument(file);
    form.ShowAtStart();
    // Without a window manager the window may never be activated: start anyway.
    QTimer::singleShot(1500, &form, [&form, file] { form.FirstActivation(file); });
    if (zelkon::RunsFromBuildTree(QApplication::applicationFilePath())) {
        zelkon::WriteFileAssociation(QApplication::applicationFilePath());
    }
    return QApplication::exec();
}
