// The graph renderer and the graph files: what an SVG picture holds for each kind of series,
// that text stays inside the picture, the PNG and PDF files, refusals, and `zelkon-cli graph`.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>
#include <QXmlStreamReader>

#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "cli/render_graph_command.h"
#include "output/graph_model.h"
#include "render/graph_export.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

// What an SVG picture draws: its rectangles, circles and texts with the fill and transform of
// the group around them, and whether any stroke is dashed.
struct SvgShape {
    QString kind;
    QString fill;
    QRectF rect;     // rectangles
    QPointF at;      // circle centres and text anchors, transformed
    QString text;
};
struct SvgContents {
    bool valid = false;
    QString error;
    std::vector<SvgShape> shapes;
    int dashedGroups = 0;
    std::vector<QPointF> pathPoints;  // every point of every path, transformed
    int paths = 0;

    int Count(const QString& kind, const QString& fill) const {
        int n = 0;
        for (const SvgShape& s : shapes) n += s.kind == kind && s.fill == fill;
        return n;
    }
    QStringList Texts() const {
        QStringList texts;
        for (const SvgShape& s : shapes) {
            if (s.kind == QLatin1String("text")) texts << s.text;
        }
        return texts;
    }
    std::vector<QRectF> Rects(const QString& fill) const {
        std::vector<QRectF> rects;
        for (const SvgShape& s : shapes) {
            if (s.kind == QLatin1String("rect") && s.fill == fill) rects.push_back(s.rect);
        }
        return rects;
    }
};

QTransform ParseMatrix(const QString& value) {
    const int open = value.indexOf('(');
    const int close = value.indexOf(')');
    if (!value.startsWith(QLatin1String("matrix")) || open < 0 || close < open) return {};
    const QStringList n = value.mid(open + 1, close - open - 1).split(',');
    if (n.size() != 6) return {};
    return QTransform(n[0].toDouble(), n[1].toDouble(), n[2].toDouble(), n[3].toDouble(),
                      n[4].toDouble(), n[5].toDouble());
}

SvgContents ReadSvg(const QString& path) {
    SvgContents contents;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return contents;
    QXmlStreamReader xml(&file);
    QString fill;
    QTransform transform;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const auto a = xml.attributes();
        const QString name = xml.name().toString();
        if (name == QLatin1String("g")) {
            fill = a.value("fill").toString();
            transform = ParseMatrix(a.value("transform").toString());
            contents.dashedGroups += a.hasAttribute("stroke-dasharray");
        } else if (name == QLatin1String("rect")) {
            contents.shapes.push_back({name, fill,
                                       QRectF(a.value("x").toDouble(), a.value("y").toDouble(),
                                              a.value("width").toDouble(), a.value("height").toDouble()),
                                       {}, {}});
        } else if (name == QLatin1String("circle")) {
            contents.shapes.push_back(
                {name, fill, {}, transform.map(QPointF(a.value("cx").toDouble(), a.value("cy").toDouble())), {}});
        } else if (name == QLatin1String("text")) {
            const QPointF at = transform.map(QPointF(a.value("x").toDouble(), a.value("y").toDouble()));
            contents.shapes.push_back({name, fill, {}, at, xml.readElementText()});
        } else if (name == QLatin1String("path")) {
            ++contents.paths;
            static const QRegularExpression pair(QStringLiteral("(-?[0-9.e+-]+),(-?[0-9.e+-]+)"));
            auto it = pair.globalMatch(a.value("d").toString());
            while (it.hasNext()) {
                const auto m = it.next();
                contents.pathPoints.push_back(transform.map(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble())));
            }
        }
    }
    contents.valid = !xml.hasError();
    contents.error = xml.errorString();
    return contents;
}

// The fills the renderer paints the graph's red and blue in.
const QString Red = QStringLiteral("#d62728");
const QString Blue = QStringLiteral("#1f5cb4");

GraphBar Bar(double position, double value, double base = 0.0, double error = -1.0, std::string label = {}) {
    GraphBar bar;
    bar.position = position;
    bar.value = value;
    bar.base = base;
    bar.hasError = error >= 0.0;
    bar.error = error >= 0.0 ? error : 0.0;
    bar.label = std::move(label);
    return bar;
}

GraphModel ColumnModel() {
    GraphModel m;
    m.kind = GraphKind::ColumnBars;
    m.title = "Enzyme activity";
    m.subtitle = std::string(MeanSDSubtitle);
    m.bottomAxis.title = std::string(ColumnAxisTitle);
    m.leftAxis.format = std::string(DefaultAxisFormat);
    m.barSeries.push_back({GraphRed, 0.5, {Bar(0, 10, 0, 2, "A"), Bar(1, 30, 0, 4, "B"), Bar(2, 20, 0, 1, "C")}});
    m.margins = FewBarsMargins;
    ScaleGraphAxes(m, {});
    return m;
}

GraphModel StackedModel() {
    GraphModel m;
    m.kind = GraphKind::TwoByTwoBars;
    m.title = "Wound infection";
    m.subtitle = std::string(ColumnTotalsSubtitle);
    m.leftAxis.format = std::string(CountAxisFormat);
    m.barSeries.push_back({GraphRed, 0.5, {Bar(0, 13, 0, -1, "Infection"), Bar(1, 37, 0, -1, "No infection")}});
    m.barSeries.push_back({GraphBlue, 0.5, {Bar(0, 4, 13), Bar(1, 46, 37)}});
    m.legend = {{LegendSample::Bar, GraphRed, "Placebo"}, {LegendSample::Bar, GraphBlue, "Antibiotic"}};
    ScaleGraphAxes(m, {});
    return m;
}

GraphModel PointModel() {
    GraphModel m;
    m.kind = GraphKind::XYRegression;
    m.title = "Standard curve";
    m.bottomAxis.title = "Protein";
    m.leftAxis.title = "A595";
    m.leftAxis.format = m.bottomAxis.format = std::string(DefaultAxisFormat);
    m.points = {{0, 0.1}, {1, 1.2}, {2, 1.9}, {3, 3.2}, {4, 3.9}};
    m.regressionLine = GraphLine{GraphBlack, GraphLineStyle::Solid, {{0, 0.1}, {4, 4.0}}};
    // A band that reaches far below the points: cut at the plot's edge.
    m.confidenceLines = {GraphLine{GraphBlack, GraphLineStyle::Dotted, {{0, -50}, {2, 1.5}, {4, 3.5}}},
                         GraphLine{GraphBlack, GraphLineStyle::Dotted, {{0, 0.5}, {2, 2.5}, {4, 4.4}}}};
    m.legend = {{LegendSample::SolidLine, GraphBlack, std::string(RegressionLegend)},
                {LegendSample::DottedLine, GraphBlack, std::string(ConfidenceLegend)}};
    ScaleGraphAxes(m, {});
    return m;
}

QString SourcePath(const char* relative) { return QStringLiteral(ZELKON_SOURCE_DIR "/") + QLatin1String(relative); }

int RunGraph(const QStringList& words, std::string* message = nullptr) {
    cli::Arguments args;
    for (const QString& w : words) args.words.push_back(w.toStdString());
    std::ostringstream out, err;
    const int code = cli::RunGraphCommand(args, out, err);
    if (message) *message = err.str();
    return code;
}

}  // namespace

class GraphRenderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void svgHoldsBarsErrorBarsTitlesAndLabels() {
        const QString path = dir_.filePath("bars.svg");
        QString error;
        QVERIFY2(ExportGraphFile(ColumnModel(), path, &error), qPrintable(error));
        const SvgContents svg = ReadSvg(path);
        QVERIFY2(svg.valid, qPrintable(svg.error));
        // One red rectangle per bar; heights in proportion to the means 10, 30 and 20 on an
        // axis from 0 (relative tolerance 1e-3 for the coordinates' rounding).
        const std::vector<QRectF> bars = svg.Rects(Red);
        QCOMPARE(int(bars.size()), 3);
        QVERIFY(std::abs(bars[1].height() / bars[0].height() - 3.0) < 3e-3);
        QVERIFY(std::abs(bars[2].height() / bars[0].height() - 2.0) < 2e-3);
        // The bars stand on the same base line and are equally wide, left to right.
        QVERIFY(std::abs(bars[0].bottom() - bars[2].bottom()) < 0.01);
        QVERIFY(bars[0].left() < bars[1].left() && bars[1].left() < bars[2].left());
        QVERIFY(std::abs(bars[0].width() - bars[1].width()) < 0.01);
        const QStringList texts = svg.Texts();
        for (const char* t : {"Enzyme activity", "Mean and Standard Deviation", "Column", "A", "B", "C", "0"}) {
            QVERIFY2(texts.contains(QLatin1String(t)), t);
        }
        // The value axis reaches the highest error bar, 30 + 4, in steps of 5 (nice steps).
        QVERIFY(texts.contains(QStringLiteral("35")));
    }

    void svgStacksTheSecondSeriesOnTheFirstAndDrawsTheLegend() {
        const QString path = dir_.filePath("stacked.svg");
        QVERIFY(ExportGraphFile(StackedModel(), path, nullptr));
        const SvgContents svg = ReadSvg(path);
        QVERIFY(svg.valid);
        // Two bar parts and a legend sample of each colour.
        QCOMPARE(svg.Count("rect", Red), 3);
        QCOMPARE(svg.Count("rect", Blue), 3);
        const std::vector<QRectF> red = svg.Rects(Red);
        const std::vector<QRectF> blue = svg.Rects(Blue);
        // The legend samples come first (under the titles); the blue parts sit on the red.
        for (int i = 1; i <= 2; ++i) {
            QVERIFY(std::abs(blue[i].bottom() - red[i].top()) < 0.01);
            QVERIFY(std::abs(blue[i].left() - red[i].left()) < 0.01);
        }
        // 46 of 83 on the second bar is blue.
        QVERIFY(std::abs(blue[2].height() / (blue[2].height() + red[2].height()) - 46.0 / 83.0) < 1e-3);
        const QStringList texts = svg.Texts();
        for (const char* t : {"Placebo", "Antibiotic", "Infection", "No infection", "Column Totals"}) {
            QVERIFY2(texts.contains(QLatin1String(t)), t);
        }
    }

    void svgHoldsPointsLineAndDottedBandCutAtThePlot() {
        const QString path = dir_.filePath("points.svg");
        QVERIFY(ExportGraphFile(PointModel(), path, nullptr));
        const SvgContents svg = ReadSvg(path);
        QVERIFY(svg.valid);
        QCOMPARE(svg.Count("circle", Blue), 5);
        // The regression line and the two band lines; the band and its legend sample dotted.
        QVERIFY(svg.paths >= 3);
        QVERIFY(svg.dashedGroups >= 2);
        // The band's dive to -50 is cut at the plot (the picture's clip is not kept in SVG):
        // every point of every line stays above the bottom axis' labels.
        QVERIFY(svg.pathPoints.size() >= 7);
        for (const QPointF& p : svg.pathPoints) {
            QVERIFY(p.x() >= 0 && p.x() <= 800 && p.y() >= 0 && p.y() <= 520);
        }
        for (const char* t : {"Protein", "A595", "Linear Regression", "95% Confidence Interval"}) {
            QVERIFY2(svg.Texts().contains(QLatin1String(t)), t);
        }
    }

    void textStaysInsideThePicture() {
        GraphModel m = ColumnModel();
        m.title = std::string(300, 'W');
        m.leftAxis.title = "A left axis title far longer than the plot is high, to be shortened";
        for (GraphBar& bar : m.barSeries[0].bars) bar.value *= 1e9;
        ScaleGraphAxes(m, {});
        const QString path = dir_.filePath("long.svg");
        QVERIFY(ExportGraphFile(m, path, nullptr));
        const SvgContents svg = ReadSvg(path);
        QVERIFY(svg.valid);
        int texts = 0;
        for (const SvgShape& s : svg.shapes) {
            if (s.kind != QLatin1String("text")) continue;
            ++texts;
            QVERIFY2(s.at.x() >= 0 && s.at.x() <= 800 && s.at.y() >= 0 && s.at.y() <= 560, qPrintable(s.text));
        }
        QVERIFY(texts > 5);
        // The long title is shortened with an ellipsis; labels carry thousands separators.
        bool elided = false;
        for (const QString& t : svg.Texts()) elided |= t.startsWith(QLatin1String("WWW")) && t.endsWith(QChar(0x2026));
        QVERIFY(elided);
        QVERIFY(svg.Texts().contains(QStringLiteral("30,000,000,000")));
    }

    void pngAndPdfFiles() {
        const QString png = dir_.filePath("bars.png");
        QVERIFY(ExportGraphFile(ColumnModel(), png, nullptr));
        QImage image(png);
        QCOMPARE(image.size(), QSize(800, 560));
        // The middle bar's red is in the picture, and the corners are white.
        int red = 0;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4) red += image.pixelColor(x, y) == QColor(Red);
        }
        QVERIFY(red > 500);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));

        const QString pdf = dir_.filePath("Bars.PDF");  // the extension in any case
        QVERIFY(ExportGraphFile(StackedModel(), pdf, nullptr));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        QVERIFY(file.size() > 1000);
    }

    // The plot sits in the middle of the picture: the bottom axis line, the longest dark row,
    // is as far from the left edge as from the right.  The note goes under the graph.
    void plotIsCentredAndTheNoteShown() {
        for (bool fewBars : {false, true}) {
            GraphModel m = ColumnModel();
            if (fewBars) m.margins = FewBarsMargins;
            m.note = "Plotted 5000 of 25000 values.";
            const QString png = dir_.filePath("centred.png");
            QVERIFY(ExportGraphFile(m, png, nullptr));
            const QImage image(png);
            // The plot's edges: the left axis is the longest dark column, the bottom axis
            // ends at the longest dark row's right end (its left end holds the lowest tick).
            const auto dark = [&](int x, int y) { return image.pixelColor(x, y).lightness() < 200; };
            const auto longestRun = [](int count, int length, auto at, int& end) {
                int best = 0;
                for (int line = 0; line < count; ++line) {
                    int run = 0;
                    for (int i = 0; i < length; ++i) {
                        run = at(line, i) ? run + 1 : 0;
                        if (run > best) {
                            best = run;
                            end = line * 100000 + i;
                        }
                    }
                }
                return best;
            };
            int rowEnd = 0, columnEnd = 0;
            const int rowRun = longestRun(image.height(), image.width(), [&](int y, int x) { return dark(x, y); }, rowEnd);
            const int columnRun = longestRun(image.width(), image.height(), [&](int x, int y) { return dark(x, y); }, columnEnd);
            QVERIFY(rowRun > 300 && columnRun > 200);
            const int plotLeft = columnEnd / 100000;
            const int plotRight = rowEnd % 100000;
            QVERIFY2(std::abs((plotLeft + plotRight) - (image.width() - 1)) <= 3,
                     qPrintable(QStringLiteral("plot from %1 to %2").arg(plotLeft).arg(plotRight)));
            const QString svg = dir_.filePath("note.svg");
            QVERIFY(ExportGraphFile(m, svg, nullptr));
            QVERIFY(ReadSvg(svg).Texts().contains(QStringLiteral("Plotted 5000 of 25000 values.")));
        }
    }

    void refusalsLeaveNoFile() {
        QString error;
        const QString wmf = dir_.filePath("graph.wmf");
        QVERIFY(!ExportGraphFile(ColumnModel(), wmf, &error));
        QVERIFY(error.contains(QLatin1String(".svg")));
        QVERIFY(!QFile::exists(wmf));
        error.clear();
        QVERIFY(!ExportGraphFile(ColumnModel(), dir_.filePath("missing/graph.svg"), &error));
        QVERIFY(!error.isEmpty());
        // An existing file is replaced only by a complete picture.
        const QString old = dir_.filePath("old.svg");
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old");
        file.close();
        QVERIFY(ExportGraphFile(ColumnModel(), old, nullptr));
        QVERIFY(ReadSvg(old).valid);
        // A FIFO or folder at the name is refused at once and left as it is.
        const QString fifo = dir_.filePath("pipe.svg");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QString folder = dir_.filePath("folder.png");
        QVERIFY(QDir().mkpath(folder));
        for (const QString& target : {fifo, folder}) {
            QVERIFY(!ExportGraphFile(ColumnModel(), target, &error));
            QCOMPARE(error, QStringLiteral("Cannot write %1: Error: #5  File access denied.").arg(target));
        }
        QVERIFY(QFileInfo(folder).isDir());
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    }

    void cliGraphWritesEachFormat() {
        const QString raw = SourcePath("examples/blood_pressure_raw.ZLD");
        for (const char* ext : {"svg", "pdf", "png"}) {
            const QString out = dir_.filePath(QStringLiteral("cli.") + QLatin1String(ext));
            std::string message;
            QCOMPARE(RunGraph({raw, "-o", out}, &message), 0);
            QVERIFY(QFileInfo(out).size() > 0);
        }
        QCOMPARE(QImage(dir_.filePath("cli.png")).size(), QSize(800, 560));
        // The regression graph needs the analysis' results: the file's analysis runs first.
        const QString xy = dir_.filePath("xy.svg");
        QCOMPARE(RunGraph({SourcePath("examples/protein_standard_curve_xy.ZLD"), "-o", xy}), 0);
        QVERIFY(ReadSvg(xy).Texts().contains(QStringLiteral("Linear Regression")));
    }

    void cliGraphRefusals() {
        const QString raw = SourcePath("examples/blood_pressure_raw.ZLD");
        std::string message;
        QCOMPARE(RunGraph({raw, "-o", dir_.filePath("g.wmf")}, &message), 1);
        QVERIFY(message.find(".svg, .pdf or .png") != std::string::npos);
        QCOMPARE(RunGraph({dir_.filePath("none.ZLD"), "-o", dir_.filePath("g.svg")}, &message), 1);
        QVERIFY(!message.empty());
        QVERIFY(!QFile::exists(dir_.filePath("g.svg")));
        QCOMPARE(RunGraph({raw}, &message), 2);  // no -o
        QCOMPARE(RunGraph({raw, "-o", dir_.filePath("g.svg"), "--colour"}, &message), 2);
    }

    void cliProgramDrawsWithoutADisplay() {
        // The program picks the offscreen platform itself when none is named.
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(env);
        const QString out = dir_.filePath("process.png");
        process.start(QStringLiteral(ZELKON_CLI),
                      {"graph", SourcePath("examples/wound_infection_2x2.ZLD"), "-o", out});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QImage(out).size(), QSize(800, 560));
        process.start(QStringLiteral(ZELKON_CLI), {"graph", SourcePath("examples/none.ZLD"), "-o", out});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
    }

private:
    QTemporaryDir dir_;
};

ZELKON_GUI_TEST_MAIN(GraphRenderTest)
#include "graph_render_test.moc"
