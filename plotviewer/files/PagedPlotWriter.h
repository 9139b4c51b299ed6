#pragma once

#include "SheetPlan.h"
#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QPageLayout>
#include <QStringList>

#include <optional>

class QPagedPaintDevice;
class QPainter;
class QTransform;

namespace plotviewer {

class PlotRenderer;

/// What a paged write put on paper.
struct PrintedSheets
{
    bool written = false; // false when the device refused to start, to begin a sheet or to finish
    int sheets = 0;
    int tiledPages = 0; // plot pages at actual size spread over several sheets
    /// The most sheets a plot page too large to tile would have needed; 0 when none was.
    qint64 refusedSheets = 0;
    QString paper; // the paper's name, such as "A4"
    bool fewerChords = false; // curves drawn in fewer chords than the plot asked for

    /// What the caller should be told: tiling, a page fitted because it was too large to tile, or
    /// curves drawn in fewer chords.
    QStringList warnings() const;
};

/// Paints a plot on a paged device such as a printer or a PDF writer, each device page turned to
/// the plot page's shape unless an orientation is forced. Fitted pages fill the printable area, one
/// sheet each. Pages at actual size are centred on the paper; one larger than the paper's printable
/// area is spread over as few sheets as SheetPlan can manage, each with trim marks and a label.
class PagedPlotWriter
{
public:
    /// `name` heads the labels of tiled sheets, such as the plot file's name.
    explicit PagedPlotWriter(
        RenderOptions options, std::optional<QPageLayout::Orientation> orientation = {}, QString name = {});

    PrintedSheets write(QPagedPaintDevice &device, const DisplayList &plot) const;
    /// The sheets write() prints `page` on at actual size, on the device's paper and margins.
    SheetPlan planFor(const QPagedPaintDevice &device, const Page &page) const;

private:
    QPageLayout::Orientation orientationFor(const Page &page) const;
    /// The label of a tiled sheet: the name, and the page's number when the plot has more than one.
    QString labelFor(const Sheet &sheet, const SheetPlan &plan, std::size_t page, std::size_t pages) const;
    /// Both return what PlotRenderer::render() does.
    static bool paintFitted(
        QPainter &painter, const QPagedPaintDevice &device, const PlotRenderer &renderer, const Page &page);
    /// `toDevice` maps the sheet's millimetres to the painter's coordinates.
    static bool paintSheet(QPainter &painter, const QPagedPaintDevice &device, const QTransform &toDevice,
        const PlotRenderer &renderer, const Page &page, const Sheet &sheet);

    RenderOptions m_options;
    std::optional<QPageLayout::Orientation> m_orientation;
    QString m_name;
};

} // namespace plotviewer
