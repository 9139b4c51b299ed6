#pragma once

#include "PagedPlotWriter.h"
#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QPageSize>
#include <QString>

class QIODevice;

namespace plotviewer {

/// Writes every page of `plot` as a PDF to `device`, each page on `paper` turned to the plot
/// page's shape, a page at actual size larger than the paper over several sheets.
PrintedSheets writePdf(QIODevice &device, const DisplayList &plot, const QPageSize &paper,
    const RenderOptions &options, const QString &title);

/// Writes every page of `plot` to a PDF at `path` on `paper` as writePdf() does. Any file at
/// `path` is replaced only once the new one is complete. Not written, with `error` set, on failure.
PrintedSheets writePdfFile(const DisplayList &plot, const QString &path, const QPageSize &paper,
    const RenderOptions &options, const QString &title, QString *error);

} // namespace plotviewer
