// The graph written to a file: an SVG picture, a PDF page or a PNG image, chosen by the
// file name's extension.
#pragma once

#include <QString>

#include "output/graph_model.h"

namespace zelkon {

/// Writes the graph of `model` to `path`: ".svg" gives an SVG picture, ".pdf" a PDF page,
/// ".png" a PNG image (the extension in any case).  The file is written to a temporary file
/// beside the target and renamed over it only when complete.  On failure returns false, leaves
/// an existing file untouched and puts a message into `error` (when not null).
bool ExportGraphFile(const GraphModel& model, const QString& path, QString* error);

/// True when `path` has one of the extensions ExportGraphFile writes.
bool IsGraphExportPath(const QString& path);

}  // namespace zelkon
