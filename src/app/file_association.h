// The file-type association of data files: a freedesktop MIME type for "*.ZLD" files and a
// desktop entry that opens them with this program.  An installed program has both installed
// beside it (packaging/); a program run from its build folder writes them under the user's
// data folder ($XDG_DATA_HOME) at start-up.
#pragma once

#include <QString>

namespace zelkon {

inline constexpr char DataFileMimeType[] = "application/x-zelkon-data";
/// The description of the file type and the class the association names.
inline constexpr char DataFileDescription[] = "Kestrane Zelkon Data File";
inline constexpr char DataFileClass[] = "ZLMainClass";

/// The MIME package and the desktop entry for the program at `programPath`: the installed
/// files, with the entry starting that program by its path.
QString MimePackageText();
QString DesktopEntryText(const QString& programPath);

/// Whether the program at `programPath` lies inside the build folder `buildDir` (by default
/// the one it was built in).
bool RunsFromBuildTree(const QString& programPath, const QString& buildDir);
bool RunsFromBuildTree(const QString& programPath);

/// Writes both files under `dataHome` (the user's data folder when empty) where they differ
/// from what is there; for the user's data folder the desktop's databases are asked to take
/// them in.  Returns false when a file could not be written.
bool WriteFileAssociation(const QString& programPath, const QString& dataHome = {});

}  // namespace zelkon
