#include "app/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "core/file_io.h"

namespace zelkon {

QString MimePackageText() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <glob pattern=\"*.ZLD\"/>\n"
               "    <glob pattern=\"*.zld\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(QLatin1String(DataFileMimeType), QLatin1String(DataFileDescription));
}

QString DesktopEntryText(const QString& programPath) {
    // The Exec key quotes the path as the desktop entry format asks.
    QString quoted = programPath;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Kestrane Zelkon\n"
               "Comment=Statistics for small data sets\n"
               "Exec=\"%1\" %f\n"
               "MimeType=%2;\n"
               "Categories=Education;Science;Math;\n"
               "Terminal=false\n"
               "X-Zelkon-Class=%3\n")
        .arg(quoted, QLatin1String(DataFileMimeType), QLatin1String(DataFileClass));
}

namespace {

/// Writes the text unless the file already holds it; true when the file holds it afterwards.
/// `changed` is set when it was written.
bool WriteIfDifferent(const QString& path, const QString& text, bool& changed) {
    const QByteArray bytes = text.toUtf8();
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) return true;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(),
                             std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        return false;
    }
    changed = true;
    return true;
}

}  // namespace

bool WriteFileAssociation(const QString& programPath, const QString& dataHome) {
    const QString home = dataHome.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             : dataHome;
    if (home.isEmpty()) return false;
    bool mimeChanged = false;
    bool desktopChanged = false;
    const QString mimeFolder = home + QStringLiteral("/mime");
    const QString applications = home + QStringLiteral("/applications");
    const bool ok = WriteIfDifferent(mimeFolder + QStringLiteral("/packages/zelkon-data.xml"),
                                     MimePackageText(), mimeChanged) &&
                    WriteIfDifferent(applications + QStringLiteral("/zelkon.desktop"),
                                     DesktopEntryText(programPath), desktopChanged);
    // The desktop reads the MIME types and desktop entries from its caches (refreshed only for
    // the user's own data folder).
    if (!dataHome.isEmpty()) return ok;
    if (mimeChanged && !QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        QProcess::startDetached(QStringLiteral("update-mime-database"), {mimeFolder});
    }
    if (desktopChanged &&
        !QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty()) {
        QProcess::startDetached(QStringLiteral("update-desktop-database"), {applications});
    }
    return ok;
}

}  // namespace zelkon
