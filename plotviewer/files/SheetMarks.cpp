#include "SheetMarks.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

namespace plotviewer {

namespace {

// Millimetres. Marks keep a gap from the tile so that a trimmed edge shows none of them.
constexpr double gap = 1;
constexpr double trimMarkLength = 4;
constexpr double tickLength = 2;
constexpr double lineWidth = 0.2;
constexpr double labelHeight = 2.5;

} // namespace

QString sheetLabel(const QString &name, const Sheet &sheet, const SheetPlan &plan)
{
    const QString place = QStringLiteral("row %1, column %2 of %3 \u00d7 %4")
                              .arg(sheet.row + 1)
                              .arg(sheet.column + 1)
                              .arg(plan.rows())
                              .arg(plan.columns());
    return name.isEmpty() ? place : name + QStringLiteral(": ") + place;
}

void paintSheetMarks(QPainter &painter, const QTransform &toDevice, const Sheet &sheet, const SheetPlan &plan,
    const QString &label)
{
    const QRectF &tile = sheet.tile;
    painter.save();
    painter.setTransform(toDevice, true);
    painter.setPen(QPen(Qt::black, lineWidth, Qt::SolidLine, Qt::FlatCap));
    // Each corner: its two edges drawn on outwards, stopping short of the tile.
    for (const QPointF &corner : { tile.topLeft(), tile.topRight(), tile.bottomLeft(), tile.bottomRight() }) {
        const double outX = corner.x() == tile.left() ? -1 : 1;
        const double outY = corner.y() == tile.top() ? -1 : 1;
        painter.drawLine(QPointF(corner.x() + outX * gap, corner.y()),
            QPointF(corner.x() + outX * (gap + trimMarkLength), corner.y()));
        painter.drawLine(QPointF(corner.x(), corner.y() + outY * gap),
            QPointF(corner.x(), corner.y() + outY * (gap + trimMarkLength)));
    }
    // Where a neighbour's tile begins: the edge to lay it along when joining the sheets.
    const double o = SheetPlan::overlap;
    const auto vertical = [&](double x) {
        painter.drawLine(QPointF(x, tile.top() - gap), QPointF(x, tile.top() - gap - tickLength));
        painter.drawLine(QPointF(x, tile.bottom() + gap), QPointF(x, tile.bottom() + gap + tickLength));
    };
    const auto horizontal = [&](double y) {
        painter.drawLine(QPointF(tile.left() - gap, y), QPointF(tile.left() - gap - tickLength, y));
        painter.drawLine(QPointF(tile.right() + gap, y), QPointF(tile.right() + gap + tickLength, y));
    };
    if (sheet.column > 0)
        vertical(tile.left() + o);
    if (sheet.column + 1 < plan.columns())
        vertical(tile.right() - o);
    if (sheet.row > 0)
        horizontal(tile.top() + o);
    if (sheet.row + 1 < plan.rows())
        horizontal(tile.bottom() - o);
    painter.restore();

    // The label in device pixels, so that its size does not round to whole millimetres.
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(std::max(1, qRound(labelHeight * toDevice.m22())));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF box
        = toDevice.mapRect(QRectF(QPointF(tile.left() + gap + trimMarkLength, tile.bottom() + gap),
            QPointF(tile.right() - gap - trimMarkLength, tile.bottom() + SheetPlan::markBand)));
    const QString shown
        = QFontMetricsF(font, painter.device()).elidedText(label, Qt::ElideMiddle, box.width());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, shown);
    painter.restore();
}

} // namespace plotviewer
