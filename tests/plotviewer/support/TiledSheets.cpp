#include "TiledSheets.h"

#include "PdfProbe.h"
#include "PictureComparison.h"
#include "plotviewer/model/PlotUnits.h"
#include "plotviewer/render/PageExtent.h"
#include "plotviewer/render/PlotPicture.h"

#include <QDir>
#include <QPainter>
#include <QRegularExpression>

namespace plotviewer::test {

namespace {

constexpr int probeDpi = 72;
constexpr double pixelsPerMillimetre = probeDpi / 25.4;

} // namespace

QString checkSheetLabels(const PdfProbe &pdf, int first, const QString &name, QSize *grid)
{
    static const QRegularExpression label(
        QStringLiteral("row (\\d+), column (\\d+) of (\\d+) \u00d7 (\\d+)"));
    *grid = QSize();
    for (int page = first; page < pdf.pageCount(); ++page) {
        QString error;
        const QString text = pdf.pageText(page, &error);
        if (text.isNull())
            return error;
        const QRegularExpressionMatch found = label.match(text);
        if (!found.hasMatch())
            return QStringLiteral("page %1 has no sheet label: \"%2\"").arg(page + 1).arg(text.simplified());
        if (!name.isEmpty() && !text.contains(name + QStringLiteral(": row")))
            return QStringLiteral("page %1 does not name %2: \"%3\"")
                .arg(page + 1)
                .arg(name, text.simplified());
        const QSize pageGrid(found.captured(4).toInt(), found.captured(3).toInt());
        if (!grid->isValid())
            *grid = pageGrid;
        const int index = page - first;
        const int row = found.captured(1).toInt() - 1;
        const int column = found.captured(2).toInt() - 1;
        if (pageGrid != *grid || grid->width() <= 0 || row != index / grid->width()
            || column != index % grid->width()) {
            return QStringLiteral("page %1 says \"%2\", out of reading order")
                .arg(page + 1)
                .arg(found.captured(0));
        }
        if (index + 1 == grid->width() * grid->height())
            return {};
    }
    return QStringLiteral("the last sheet is missing");
}

QString compareJoinedSheets(const PdfProbe &pdf, int first, const SheetPlan &plan, const Page &page)
{
    if (first + plan.sheetCount() > pdf.pageCount())
        return QStringLiteral("%1 sheets from page %2, but the PDF has %3 pages")
            .arg(plan.sheetCount())
            .arg(first + 1)
            .arg(pdf.pageCount());
    const Rect extent = pageExtent(page);
    const QSizeF millimetres
        = QSizeF(extent.right - extent.left, extent.top - extent.bottom) * 25.4 / plotUnitsPerInch;
    QImage joined((millimetres * pixelsPerMillimetre).toSize(), QImage::Format_RGB32);
    joined.fill(Qt::white);
    QPainter painter(&joined);
    // Overlaps show the same drawing twice; the darker pixel keeps the ink of both.
    painter.setCompositionMode(QPainter::CompositionMode_Darken);
    for (int i = 0; i < plan.sheetCount(); ++i) {
        QString error;
        const QImage sheet = pdf.renderPage(first + i, probeDpi, &error);
        if (sheet.isNull())
            return error;
        const Sheet at = plan.sheet(i);
        const bool wide = plan.orientation() == QPageLayout::Landscape;
        if ((sheet.width() > sheet.height()) != wide)
            return QStringLiteral("sheet %1 is turned against the plan").arg(i + 1);
        const QRectF source(at.clip.topLeft() * pixelsPerMillimetre, at.clip.size() * pixelsPerMillimetre);
        painter.drawImage(source.translated(-at.extentOrigin * pixelsPerMillimetre), sheet, source);
    }
    painter.end();
    const QImage whole = renderPlotPicture(page, joined.size(), {});
    const QString difference = compareInk(joined, whole);
    if (!difference.isEmpty()) {
        QDir folder(QDir::current().filePath(QStringLiteral("failed-renders")));
        folder.mkpath(QStringLiteral("."));
        joined.save(folder.filePath(QStringLiteral("joined-sheets-actual.png")));
        whole.save(folder.filePath(QStringLiteral("joined-sheets-expected.png")));
    }
    return difference;
}

} // namespace plotviewer::test
