// The application shell's rules without windows: untitled names, the has-content test, the
// recent files, the settings file with its sections, keys and booleans, the start-up window
// size and the file-type association.  Expected values come from the rules as stated for
// the program (hand-written cases).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include "app/file_association.h"
#include "app/settings_file.h"
#include "app/shell_rules.h"
#include "core/file_io.h"
#include "document/document.h"
#include "ui_test_support.h"

using namespace zelkon;

class ShellRulesTest : public QObject {
    Q_OBJECT

private slots:
    void untitledNamesTakeTheSmallestFreeNumber() {
        QCOMPARE(UntitledName({}), std::string("DATASET1.ZLD"));
        QCOMPARE(UntitledName({"DATASET1.ZLD", "DATASET2.ZLD"}), std::string("DATASET3.ZLD"));
        QCOMPARE(UntitledName({"DATASET2.ZLD", "/home/x/DATASET1.ZLD"}), std::string("DATASET1.ZLD"));
        // The comparison is exact: a lower-case name does not take the number.
        QCOMPARE(UntitledName({"dataset1.zld"}), std::string("DATASET1.ZLD"));
        std::vector<std::string> all;
        for (int n = 1; n <= 10; ++n) all.push_back("DATASET" + std::to_string(n) + ".ZLD");
        QCOMPARE(UntitledName(all), std::string());
    }

    void hasContentFollowsTheFormat() {
        Document doc;
        QVERIFY(!HasContent(doc));
        doc.Table().SetDataTitle("Experiment 1");
        QVERIFY(HasContent(doc));
        doc.Table().SetDataTitle("");

        test::TypeColumn(doc, 0, {1, 2});
        QVERIFY(HasContent(doc));  // raw data: the table has data
        doc.Data().SetFormat(DataFormat::MeanSDN);
        QVERIFY(!HasContent(doc));  // averaged: only N > 0 counts
        doc.Table().Record(3).n = 5;
        QVERIFY(HasContent(doc));

        Document table;
        table.Data().SetFormat(DataFormat::TwoByTwo);
        test::TypeColumn(table, 0, {1, 2});
        QVERIFY(!HasContent(table));  // two-by-two: only the record counts
        table.Data().TwoByTwo().c = 4;
        QVERIFY(HasContent(table));

        Document xy;
        xy.Data().SetFormat(DataFormat::XY);
        xy.Table().Record(0).n = 3;  // a stale count is no content here
        QVERIFY(!HasContent(xy));
    }

    void recentFilesMoveToTheTopAndKeepNine() {
        std::vector<std::string> recent;
        for (int i = 1; i <= 10; ++i) AddRecentFile(recent, std::string("f").append(std::to_string(i)));
        QCOMPARE(recent.size(), std::size_t{9});
        QCOMPARE(recent.front(), std::string("f10"));
        QCOMPARE(recent.back(), std::string("f2"));
        AddRecentFile(recent, "f5");
        QCOMPARE(recent.size(), std::size_t{9});
        QCOMPARE(recent[0], std::string("f5"));
        QCOMPARE(recent[1], std::string("f10"));
        QCOMPARE(std::count(recent.begin(), recent.end(), std::string("f5")), std::ptrdiff_t{1});
    }

    void settingsBooleans() {
        for (const char* yes : {"True", "TRUE", "true", "yes", "Yes", "1"}) QVERIFY(ParseSettingsBool(yes));
        for (const char* no : {"False", "0", "no", "", "2", "truly"}) QVERIFY(!ParseSettingsBool(no));
        QCOMPARE(SettingsBoolText(true), std::string_view("True"));
        QCOMPARE(SettingsBoolText(false), std::string_view("False"));
    }

    // The first window as a function of the screen's available area.  A stored size is kept
    // but limited to the area; a size stored as 0 takes what the start page needs, at least
    // 640 x 480; the frame is centred in the area.
    void startWindowSize() {
        const WindowSize startPage{840, 573};  // what the start page needs, say
        QCOMPARE(StartWindowSize(0, 0, startPage), startPage);
        QCOMPARE(StartWindowSize(900, 0, startPage), startPage);
        QCOMPARE(StartWindowSize(0, 0, WindowSize{300, 200}), SmallestStartSize);
        QCOMPARE(StartWindowSize(5000, 700, startPage), (WindowSize{5000, 700}));

        struct Case {
            WindowSize size;
            WindowSize frame;
            WindowRect area;
            WindowRect placed;
        } cases[] = {
            // 1280 x 1024 and 1024 x 768 screens: the start page's size fits, centred.
            {startPage, {2, 22}, {0, 0, 1280, 1024}, {219, 214, 840, 573}},
            {startPage, {2, 22}, {0, 0, 1024, 768}, {91, 86, 840, 573}},
            // A stored width of 5000 on a 1024-pixel-wide screen: a 1024-pixel-wide frame.
            {{5000, 700}, {0, 0}, {0, 0, 1024, 768}, {0, 34, 1024, 700}},
            {{5000, 700}, {2, 22}, {0, 0, 1024, 768}, {0, 23, 1022, 700}},
            {{800, 2000}, {2, 22}, {0, 0, 1024, 768}, {111, 0, 800, 746}},
            // An area that does not start at 0 (a panel at the top), and a small screen where
            // even 640 x 480 does not fit.
            {SmallestStartSize, {0, 0}, {0, 30, 1280, 994}, {320, 287, 640, 480}},
            {SmallestStartSize, {2, 22}, {0, 0, 600, 400}, {0, 0, 598, 378}},
        };
        for (const Case& c : cases) {
            const WindowRect placed = PlaceInArea(c.size, c.frame, c.area);
            QCOMPARE(placed, c.placed);
            // The frame lies inside the area.
            QVERIFY(placed.left >= c.area.left && placed.top >= c.area.top);
            QVERIFY(placed.left + placed.width + c.frame.width <= c.area.left + c.area.width);
            QVERIFY(placed.top + placed.height + c.frame.height <= c.area.top + c.area.height);
        }
    }

    // Window > Tile as a function of the document area: rows of ceil(sqrt(n)) columns, a
    // shorter last row shared by its windows, every tile inside the area, nothing overlapping.
    void tileRects() {
        const WindowRect area{0, 0, 1280, 900};
        QVERIFY(TileRects(0, area).empty());
        QCOMPARE(TileRects(1, area), (std::vector<WindowRect>{area}));
        QCOMPARE(TileRects(3, area), (std::vector<WindowRect>{
                                         {0, 0, 640, 450}, {640, 0, 640, 450}, {0, 450, 1280, 450}}));
        const std::vector<WindowRect> seven = TileRects(7, WindowRect{10, 20, 1000, 700});
        QCOMPARE(seven.size(), std::size_t(7));
        // 3 columns of 333, 333 and 334 pixels; rows of 233, 233 and 234; the seventh alone.
        QCOMPARE(seven[0], (WindowRect{10, 20, 333, 233}));
        QCOMPARE(seven[2], (WindowRect{676, 20, 334, 233}));
        QCOMPARE(seven[5], (WindowRect{676, 253, 334, 233}));
        QCOMPARE(seven[6], (WindowRect{10, 486, 1000, 234}));
        for (int n = 1; n <= MaxDocuments; ++n) {
            const std::vector<WindowRect> tiles = TileRects(n, area);
            QCOMPARE(static_cast<int>(tiles.size()), n);
            long long covered = 0;
            for (const WindowRect& t : tiles) {
                QVERIFY(t.left >= 0 && t.top >= 0 && t.left + t.width <= 1280 && t.top + t.height <= 900);
                covered += static_cast<long long>(t.width) * t.height;
            }
            QCOMPARE(covered, 1280LL * 900LL);  // the tiles fill the area without overlap
        }
    }

    void windowMenuListsTheDocuments() {
        const std::vector<WindowMenuEntry> entries = WindowMenuEntries({"DATASET1.ZLD", "/x/bp.ZLD"}, 1);
        QCOMPARE(entries.size(), std::size_t(2));
        QCOMPARE(entries[0].caption, std::string("&1 DATASET1.ZLD"));
        QVERIFY(!entries[0].checked);
        QCOMPARE(entries[1].caption, std::string("&2 /x/bp.ZLD"));
        QVERIFY(entries[1].checked);
        QVERIFY(WindowMenuEntries({}, -1).empty());
    }

    void iniFileKeepsTheSettingsItDoesNotKnow() {
        IniFile ini;
        ini.Parse("; written by hand\r\n[Options]\r\nZelkon folder=/data\r\nColour=blue\r\nstray text\r\n\r\n"
                  "[Other]\r\nkey = value \r\n");
        QCOMPARE(ini.Get("options", "ZELKON FOLDER"), std::string("/data"));
        QCOMPARE(ini.Get("Other", "key"), std::string("value"));
        QCOMPARE(ini.Get("Options", "missing", "x"), std::string("x"));
        ini.Set("Options", "Import folder", "/import");
        ini.Set("WindowSize", "Width", "800");
        // Lines that are not settings are dropped; sections are parted by a blank line.
        QCOMPARE(ini.Text(), std::string("[Options]\r\nZelkon folder=/data\r\nColour=blue\r\n"
                                         "Import folder=/import\r\n\r\n[Other]\r\nkey=value\r\n\r\n"
                                         "[WindowSize]\r\nWidth=800\r\n"));
        QCOMPARE(ini.GetInt("WindowSize", "Width", 0), 800);
        ini.Set("WindowSize", "Height", "abc");
        QCOMPARE(ini.GetInt("WindowSize", "Height", 7), 7);

        // Lines may end in CR alone, or LF alone.
        IniFile mac;
        mac.Parse("[Options]\rZelkon folder=/cr\r[WindowSize]\nWidth=900\r\nHeight=600");
        QCOMPARE(mac.Get("Options", "Zelkon folder"), std::string("/cr"));
        QCOMPARE(mac.GetInt("WindowSize", "Width", 0), 900);
        QCOMPARE(mac.GetInt("WindowSize", "Height", 0), 600);
    }

    void namesWithLineBreaksAreNotWrittenIntoTheFile() {
        ZelkonSettings s;
        s.dataFolder = "/data\r\n[Options]\r\nImport folder=/evil";
        s.recentFiles = {"/a/one.ZLD", "/tmp/x\n#2=/etc/passwd", "/b/two.ZLD"};
        IniFile ini;
        WriteSettings(ini, s);
        IniFile back;
        back.Parse(ini.Text());
        const ZelkonSettings read = ReadSettings(back);
        QCOMPARE(read.dataFolder, std::string());
        QCOMPARE(read.importFolder, std::string());
        QCOMPARE(read.recentFiles, (std::vector<std::string>{"/a/one.ZLD", "/b/two.ZLD"}));
    }

    void aSettingsPathThatIsNotARegularFileIsRefused() {
        const QByteArray fifo = QFile::encodeName(QDir(test::TestHome()).filePath("settings.fifo"));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        std::string refusal;
        QElapsedTimer timer;
        timer.start();
        const ZelkonSettings s = LoadSettingsFile(fifo.toStdString(), nullptr, &refusal);
        QVERIFY(!SaveSettingsFile(fifo.toStdString(), s));
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(s.showHints);
        QCOMPARE(refusal, "The settings file " + fifo.toStdString() +
                              " is not a regular file. It is ignored: settings are neither read "
                              "from it nor saved to it.");
        struct stat st {};
        QVERIFY(::lstat(fifo.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        ::unlink(fifo.constData());
        // Larger than 1 MB: refused too, and left as it is.
        const std::string big = QDir(test::TestHome()).filePath("big.ini").toStdString();
        QVERIFY(WriteFileAtomically(big, "[Options]\r\n" + std::string(std::size_t{1} << 20, ';')));
        LoadSettingsFile(big, nullptr, &refusal);
        QVERIFY(refusal.find("is larger than 1 MB") != std::string::npos);
        QVERIFY(!SaveSettingsFile(big, s));
        // A file that does not exist yet is no refusal.
        LoadSettingsFile(big + ".none", nullptr, &refusal);
        QVERIFY(refusal.empty());
    }

    void settingsFileRoundTrip() {
        const std::string path = QDir(test::TestHome()).filePath("rt/ZELKON.INI").toStdString();
        ZelkonSettings defaults = LoadSettingsFile(path);  // no file: defaults
        QVERIFY(defaults.showHints);
        QCOMPARE(defaults.width, 0);
        QVERIFY(!defaults.maximized);
        QVERIFY(defaults.recentFiles.empty());

        ZelkonSettings s;
        s.dataFolder = "/home/u/data";
        s.importFolder = "/home/u/import";
        s.showHints = false;
        s.width = 900;
        s.height = 700;
        s.maximized = true;
        s.recentFiles = {"/a/one.ZLD", "/b/two.ZLD"};
        QVERIFY(SaveSettingsFile(path, s));
        std::string text;
        QVERIFY(ReadWholeFile(path, text));
        for (const char* line : {"[Options]", "Zelkon folder=/home/u/data", "Import folder=/home/u/import",
                                 "ShowNewUserHints=False", "[WindowSize]", "Width=900", "Height=700", "Maximized=True",
                                 "[Filenames]", "#1=/a/one.ZLD", "#2=/b/two.ZLD", "#3=", "#9="}) {
            QVERIFY2(text.find(std::string(line) + "\r\n") != std::string::npos, line);
        }
        const ZelkonSettings back = LoadSettingsFile(path);
        QCOMPARE(back.dataFolder, s.dataFolder);
        QCOMPARE(back.importFolder, s.importFolder);
        QCOMPARE(back.showHints, false);
        QCOMPARE(back.width, 900);
        QCOMPARE(back.height, 700);
        QVERIFY(back.maximized);
        QCOMPARE(back.recentFiles, s.recentFiles);

        // The recent files end at the first empty entry.
        IniFile gap;
        gap.Parse("[Filenames]\n#1=x\n#2=\n#3=y\n");
        QCOMPARE(ReadSettings(gap).recentFiles, std::vector<std::string>{"x"});
    }

    void fileAssociationIsWrittenOnce() {
        const QString home = QDir(test::TestHome()).filePath(QStringLiteral("assoc"));
        QVERIFY(WriteFileAssociation(QStringLiteral("/opt/zelkon dir/zelkon"), home));
        QFile desktop(home + QStringLiteral("/applications/zelkon.desktop"));
        QVERIFY(desktop.open(QIODevice::ReadOnly));
        const QByteArray entry = desktop.readAll();
        QVERIFY(entry.contains("Exec=\"/opt/zelkon dir/zelkon\" %f\n"));
        QVERIFY(entry.contains("MimeType=application/x-zelkon-data;\n"));
        QVERIFY(entry.contains("X-Zelkon-Class=ZLMainClass\n"));
        QFile mime(home + QStringLiteral("/mime/packages/zelkon-data.xml"));
        QVERIFY(mime.open(QIODevice::ReadOnly));
        const QByteArray package = mime.readAll();
        QVERIFY(package.contains("<glob pattern=\"*.ZLD\"/>"));
        QVERIFY(package.contains("<comment>Kestrane Zelkon Data File</comment>"));
        // Unchanged files are not written again.
        const QDateTime before = QFileInfo(desktop).lastModified();
        QTest::qWait(20);
        QVERIFY(WriteFileAssociation(QStringLiteral("/opt/zelkon dir/zelkon"), home));
        QCOMPARE(QFileInfo(desktop.fileName()).lastModified(), before);
    }

    void onlyARunFromTheBuildFolderRegisters() {
        const QDir home(test::TestHome());
        for (const char* name : {"build/src/app/zelkon", "build-other/zelkon", "usr/bin/zelkon"}) {
            const QString path = home.filePath(QString::fromLatin1(name));
            QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
            QFile program(path);
            QVERIFY(program.open(QIODevice::WriteOnly));
        }
        const QString build = home.filePath(QStringLiteral("build"));
        QVERIFY(RunsFromBuildTree(home.filePath(QStringLiteral("build/src/app/zelkon")), build));
        QVERIFY(!RunsFromBuildTree(home.filePath(QStringLiteral("build-other/zelkon")), build));
        QVERIFY(!RunsFromBuildTree(home.filePath(QStringLiteral("usr/bin/zelkon")), build));
        QVERIFY(!RunsFromBuildTree(home.filePath(QStringLiteral("build/missing")), build));
    }
};

ZELKON_GUI_TEST_MAIN(ShellRulesTest)
#include "shell_rules_test.moc"
