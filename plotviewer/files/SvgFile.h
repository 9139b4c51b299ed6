#pragma once

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QByteArray>
#include <QPageSize>
#include <QString>

#include <optional>

namespace plotviewer {

/// `page` as an SVG 1.1 document (see SvgCanvas), in millimetres: the page's own size, or with
/// `paper`, the paper turned to the page's shape, the page on it as `options.placement` says.
QByteArray svgDocument(const Page &page, const std::optional<QPageSize> &paper, const RenderOptions &options,
    const QString &title);

/// Writes svgDocument() to `path`, replacing any file there only once the new one is complete.
/// False with `error` set when it cannot be written.
bool writeSvgFile(const Page &page, const QString &path, const std::optional<QPageSize> &paper,
    const RenderOptions &options, const QString &title, QString *error);

} // namespace plotviewer
