#include "SvgFile.h"

#include "AtomicSave.h"
#include "SvgCanvas.h"
#include "plotviewer/model/PlotUnits.h"
#include "plotviewer/render/PageExtent.h"
#include "plotviewer/render/PlotRenderer.h"

#include <QPainter>

namespace plotviewer {

QByteArray svgDocument(const Page &page, const std::optional<QPageSize> &paper, const RenderOptions &options,
    const QString &title)
{
    const Rect extent = pageExtent(page);
    QSizeF millimetres((extent.right - extent.left) / plotUnitsPerMillimetre,
        (extent.top - extent.bottom) / plotUnitsPerMillimetre);
    if (paper) {
        millimetres = paper->size(QPageSize::Millimeter);
        if (isLandscape(extent) != (millimetres.width() > millimetres.height()))
            millimetres.transpose();
    }
    SvgCanvas canvas(millimetres.expandedTo(QSizeF(1, 1)), title);
    RenderOptions grouped = options;
    grouped.penStarting = [&canvas](int pen, const QColor &colour) { canvas.startLayer(pen, colour); };
    QPainter painter(&canvas);
    PlotRenderer(grouped).render(painter, page,
        QRectF(QPointF(0, 0), millimetres.expandedTo(QSizeF(1, 1)) * SvgCanvas::unitsPerMillimetre));
    painter.end();
    return canvas.document();
}

bool writeSvgFile(const Page &page, const QString &path, const std::optional<QPageSize> &paper,
    const RenderOptions &options, const QString &title, QString *error)
{
    const QByteArray document = svgDocument(page, paper, options, title);
    return saveAtomically(
        path, QStringLiteral("SVG file"),
        [&](QSaveFile &file, QString &reason) {
            if (file.write(document) == document.size())
                return true;
            reason = file.errorString();
            return false;
        },
        error);
}

} // namespace plotviewer
