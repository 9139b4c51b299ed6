#pragma once

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QPageSize>
#include <QString>

namespace plotviewer {

/// Writes every page of `plot` to a PDF at `path` on `paper`, each page turned to the plot page's
/// shape. Any file at `path` is replaced only once the new one is complete. False with `error` set
/// on failure.
bool writePdfFile(const DisplayList &plot, const QString &path, const QPageSize &paper,
    const RenderOptions &options, const QString &title, QString *error);

} // namespace plotviewer
