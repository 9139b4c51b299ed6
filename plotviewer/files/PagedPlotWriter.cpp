#include "PagedPlotWriter.h"

#include "SheetMarks.h"
#include "plotviewer/model/PlotUnits.h"
#include "plotviewer/render/PageExtent.h"
#include "plotviewer/render/PlotPicture.h"
#include "plotviewer/render/PlotRenderer.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace plotviewer {

namespace {

constexpr double millimetresPerUnit = millimetresPerInch / plotUnitsPerInch;

QSizeF sizeInMillimetres(const Rect &r)
{
    return { (r.right - r.left) * millimetresPerUnit, (r.top - r.bottom) * millimetresPerUnit };
}

/// The page as SheetPlan sees it: its extent, and its ink within the extent, y down.
SheetDrawing drawingOf(const Page &page)
{
    const Rect extent = pageExtent(page);
    SheetDrawing drawing { sizeInMillimetres(extent), std::nullopt };
    const Rect &ink = page.inkBounds;
    const Rect inside { std::max(ink.left, extent.left), std::max(ink.bottom, extent.bottom),
        std::min(ink.right, extent.right), std::min(ink.top, extent.top) };
    if (inside.left <= inside.right && inside.bottom <= inside.top) {
        drawing.ink = QRectF(QPointF(inside.left - extent.left, extent.top - inside.top) * millimetresPerUnit,
            sizeInMillimetres(inside));
    }
    return drawing;
}

/// Millimetres from the paper's top left corner to the painter's coordinates, whose origin is the
/// top left of the printable area.
QTransform sheetToDevice(const QPagedPaintDevice &device)
{
    const int resolution = device.logicalDpiX();
    const QRect printable = device.pageLayout().paintRectPixels(resolution);
    const double scale = resolution / millimetresPerInch;
    return QTransform::fromTranslate(-printable.left(), -printable.top()).scale(scale, scale);
}

} // namespace

QStringList PrintedSheets::warnings() const
{
    QStringList lines;
    if (tiledPages > 0)
        lines << QStringLiteral("printed at actual size on %1 %2 sheets").arg(sheets).arg(paper);
    if (refusedSheets == std::numeric_limits<qint64>::max()) {
        lines << QStringLiteral("too large to print at actual size on %1 paper, which is too small to join "
                                "sheets of; fitted to the paper instead")
                     .arg(paper);
    } else if (refusedSheets > 0) {
        lines << QStringLiteral("too large to print at actual size: it would take %1 %2 sheets, more than "
                                "the %3 allowed; fitted to the paper instead")
                     .arg(refusedSheets)
                     .arg(paper)
                     .arg(SheetPlan::mostSheets);
    }
    if (fewerChords)
        lines << fewerChordsWarning();
    return lines;
}

PagedPlotWriter::PagedPlotWriter(
    RenderOptions options, std::optional<QPageLayout::Orientation> orientation, QString name)
    : m_options(options)
    , m_orientation(orientation)
    , m_name(std::move(name))
{ }

QPageLayout::Orientation PagedPlotWriter::orientationFor(const Page &page) const
{
    if (m_orientation)
        return *m_orientation;
    return isLandscape(pageExtent(page)) ? QPageLayout::Landscape : QPageLayout::Portrait;
}

SheetPlan PagedPlotWriter::planFor(const QPagedPaintDevice &device, const Page &page) const
{
    QList<QPageLayout::Orientation> turns { orientationFor(page) };
    if (!m_orientation)
        turns << (turns.front() == QPageLayout::Landscape ? QPageLayout::Portrait : QPageLayout::Landscape);
    QList<SheetPaper> papers;
    for (const QPageLayout::Orientation turn : turns) {
        QPageLayout layout = device.pageLayout();
        layout.setOrientation(turn);
        const QRectF full = layout.fullRect(QPageLayout::Millimeter);
        const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
        papers << SheetPaper { turn, full.size(),
            QMarginsF(printable.left() - full.left(), printable.top() - full.top(),
                full.right() - printable.right(), full.bottom() - printable.bottom()) };
    }
    return SheetPlan::choose(drawingOf(page), papers);
}

QString PagedPlotWriter::labelFor(
    const Sheet &sheet, const SheetPlan &plan, std::size_t page, std::size_t pages) const
{
    QString name = m_name;
    if (pages > 1)
        name += (name.isEmpty() ? QStringLiteral("page %1") : QStringLiteral(", page %1")).arg(page + 1);
    return sheetLabel(name, sheet, plan);
}

bool PagedPlotWriter::paintSheet(QPainter &painter, const QPagedPaintDevice &device,
    const QTransform &toDevice, const PlotRenderer &renderer, const Page &page, const Sheet &sheet)
{
    const Rect extent = pageExtent(page);
    const QRectF extentOnSheet = toDevice.mapRect(QRectF(sheet.extentOrigin, sizeInMillimetres(extent)));
    const QSizeF resolution(device.logicalDpiX(), device.logicalDpiY());
    return renderer.render(painter, page, PageTransform::actualSize(extent, extentOnSheet, resolution),
        toDevice.mapRect(sheet.clip));
}

bool PagedPlotWriter::paintFitted(
    QPainter &painter, const QPagedPaintDevice &device, const PlotRenderer &renderer, const Page &page)
{
    const QRectF printable(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    return renderer.render(painter, page,
        PageTransform::fit(pageExtent(page), printable, QSizeF(device.logicalDpiX(), device.logicalDpiY())),
        printable);
}

PrintedSheets PagedPlotWriter::write(QPagedPaintDevice &device, const DisplayList &plot) const
{
    const PlotRenderer renderer(m_options);
    PrintedSheets printed;
    printed.paper = device.pageLayout().pageSize().name();
    QPainter painter;
    const auto startSheet = [&](QPageLayout::Orientation orientation) {
        device.setPageOrientation(orientation);
        if (printed.sheets == 0 ? !painter.begin(&device) : !device.newPage())
            return false;
        painter.setRenderHint(QPainter::Antialiasing);
        ++printed.sheets;
        return true;
    };
    for (std::size_t i = 0; i < plot.pages.size(); ++i) {
        const Page &page = plot.pages[i];
        const Rect extent = pageExtent(page);
        if (extent.isEmpty()) {
            // Nothing in it can be placed: a blank sheet keeps the pages in step with the plot's.
            if (!startSheet(orientationFor(page)))
                return printed;
            continue;
        }
        if (m_options.placement == Placement::ActualSize) {
            const SheetPlan plan = planFor(device, page);
            if (plan.isPrintable()) {
                printed.tiledPages += plan.fitsOneSheet() ? 0 : 1;
                for (int s = 0; s < int(plan.sheetCount()); ++s) {
                    if (!startSheet(plan.orientation()))
                        return printed;
                    const Sheet sheet = plan.sheet(s);
                    const QTransform toDevice = sheetToDevice(device);
                    printed.fewerChords |= paintSheet(painter, device, toDevice, renderer, page, sheet);
                    if (!sheet.tile.isNull())
                        paintSheetMarks(
                            painter, toDevice, sheet, plan, labelFor(sheet, plan, i, plot.pages.size()));
                }
                continue;
            }
            printed.refusedSheets = std::max(printed.refusedSheets, plan.sheetCount());
        }
        if (!startSheet(orientationFor(page)))
            return printed;
        printed.fewerChords |= paintFitted(painter, device, renderer, page);
    }
    printed.written = !painter.isActive() || painter.end();
    return printed;
}

} // namespace plotviewer
