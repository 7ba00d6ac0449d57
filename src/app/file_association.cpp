#include "app/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "core/file_io.h"

namespace zelkon {

namespace {

/// A file of the packaging folder, built into the program.
QString PackagedText(const QString& name) {
    QFile file(QStringLiteral(":/packaging/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

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

QString MimePackageText() { return PackagedText(QStringLiteral("zelkon-data.xml")); }

QString DesktopEntryText(const QString& programPath) {
    // The installed entry starts the program by name; this one names the program's path,
    // quoted as the desktop entry format asks.
    QString quoted = programPath;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    QString text = PackagedText(QStringLiteral("org.kestrane.Zelkon.desktop"));
    text.replace(QStringLiteral("\nExec=zelkon %f\n"),
                 QStringLiteral("\nExec=\"%1\" %f\n").arg(quoted));
    return text;
}

bool RunsFromBuildTree(const QString& programPath, const QString& buildDir) {
    const QString program = QFileInfo(programPath).canonicalFilePath();
    const QString build = QFileInfo(buildDir).canonicalFilePath();
    return !program.isEmpty() && !build.isEmpty() &&
           program.startsWith(build + QLatin1Char('/'));
}

bool RunsFromBuildTree(const QString& programPath) {
#ifdef ZELKON_BUILD_DIR
    return RunsFromBuildTree(programPath, QStringLiteral(ZELKON_BUILD_DIR));
#else
    (void)programPath;
    return false;
#endif
}

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
