// Graph files: the painter's picture in an SVG generator, a PDF writer or an image, written
// through a save file so that a failed write leaves the old file as it was.
#include "render/graph_export.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "core/file_io.h"
#include "document/data_file.h"
#include "render/graph_painter.h"

namespace zelkon {

namespace {

// The picture of an SVG or PNG file, in pixels of a 96-dpi screen.
constexpr int PictureWidth = 800;
constexpr int PictureHeight = 560;
constexpr int ScreenDpi = 96;
// PDF pages: A4 in landscape at this resolution, with margins in millimetres.
constexpr int PdfDpi = 600;
constexpr double PdfMarginMm = 15.0;

enum class GraphFileKind { Svg, Pdf, Png, Unknown };

GraphFileKind KindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) return GraphFileKind::Svg;
    if (suffix == QLatin1String("pdf")) return GraphFileKind::Pdf;
    if (suffix == QLatin1String("png")) return GraphFileKind::Png;
    return GraphFileKind::Unknown;
}

QString GraphTitle(const GraphModel& model) {
    const QString title = QString::fromLatin1(model.title.c_str()).trimmed();
    return title.isEmpty() ? QString::fromLatin1(model.subtitle.c_str()) : title;
}

bool WriteSvg(const GraphModel& model, QSaveFile& file) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setResolution(ScreenDpi);
    generator.setSize(QSize(PictureWidth, PictureHeight));
    generator.setViewBox(QRect(0, 0, PictureWidth, PictureHeight));
    generator.setTitle(GraphTitle(model));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    PaintGraph(painter, QRectF(0, 0, PictureWidth, PictureHeight), model);
    return painter.end();
}

bool WritePdf(const GraphModel& model, QSaveFile& file) {
    QPdfWriter writer(&file);
    writer.setResolution(PdfDpi);
    writer.setTitle(GraphTitle(model));
    writer.setCreator(QStringLiteral("Zelkon"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(PdfMarginMm, PdfMarginMm, PdfMarginMm, PdfMarginMm),
                                     QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const QRect page = writer.pageLayout().paintRectPixels(writer.resolution());
    PaintGraph(painter, QRectF(0, 0, page.width(), page.height()), model);
    return painter.end();
}

bool WritePng(const GraphModel& model, QSaveFile& file) {
    QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(ScreenDpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter;
    if (!painter.begin(&image)) return false;
    PaintGraph(painter, QRectF(0, 0, PictureWidth, PictureHeight), model);
    if (!painter.end()) return false;
    return image.save(&file, "PNG");
}

void SetError(QString* error, const QString& text) {
    if (error != nullptr) *error = text;
}

}  // namespace

bool IsGraphExportPath(const QString& path) { return KindOf(path) != GraphFileKind::Unknown; }

bool ExportGraphFile(const GraphModel& model, const QString& path, QString* error) {
    const GraphFileKind kind = KindOf(path);
    if (kind == GraphFileKind::Unknown) {
        SetError(error, QStringLiteral("Cannot write %1: the graph is written as .svg, .pdf or .png.").arg(path));
        return false;
    }
    // A folder, FIFO or device at the name is refused and left alone.
    const std::string local = QFile::encodeName(path).toStdString();
    if (const int refused = CheckWriteTarget(local)) {
        SetError(error, QStringLiteral("Cannot write %1: %2")
                            .arg(path, QString::fromLatin1(IoErrorText(IoErrorFromErrno(refused, true, local)))));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    bool drawn = false;
    switch (kind) {
        case GraphFileKind::Svg:
            drawn = WriteSvg(model, file);
            break;
        case GraphFileKind::Pdf:
            drawn = WritePdf(model, file);
            break;
        case GraphFileKind::Png:
            drawn = WritePng(model, file);
            break;
        case GraphFileKind::Unknown:
            break;
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                                                                     : QStringLiteral("the graph could not be drawn");
        file.cancelWriting();
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, reason));
        return false;
    }
    if (!file.commit()) {
        SetError(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace zelkon
