#include "PrinterChoice.h"

#include <QSettings>

namespace plotviewer {

PrinterChoice PrinterChoice::capture(
    const QPrinter &printer, std::optional<QPageLayout::Orientation> orientation)
{
    PrinterChoice choice;
    choice.printerName = printer.printerName();
    choice.outputFileName = printer.outputFileName();
    choice.pageLayout = printer.pageLayout();
    choice.orientation = orientation;
    choice.copies = printer.copyCount();
    choice.collate = printer.collateCopies();
    choice.duplex = printer.duplex();
    choice.colorMode = printer.colorMode();
    return choice;
}

void PrinterChoice::applyTo(QPrinter &printer) const
{
    // The printer first: choosing one resets the page size to what it supports.
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    if (!outputFileName.isEmpty())
        printer.setOutputFileName(outputFileName);
    if (pageLayout.isValid()) {
        printer.setPageSize(pageLayout.pageSize());
        printer.setPageMargins(pageLayout.margins(), pageLayout.units());
    }
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    printer.setDuplex(duplex);
    printer.setColorMode(colorMode);
}

namespace {

const QString PrinterKey = QStringLiteral("Printer");
const QString FileKey = QStringLiteral("OutputFile");
const QString PaperKey = QStringLiteral("Paper");
const QString PaperSizeKey = QStringLiteral("PaperSizePoints");
const QString MarginsKey = QStringLiteral("MarginsMillimetres");
const QString OrientationKey = QStringLiteral("Orientation");
const QString CopiesKey = QStringLiteral("Copies");
const QString CollateKey = QStringLiteral("Collate");
const QString DuplexKey = QStringLiteral("Duplex");
const QString ColourKey = QStringLiteral("Colour");

QString orientationName(std::optional<QPageLayout::Orientation> orientation)
{
    if (!orientation)
        return QStringLiteral("each plot");
    return *orientation == QPageLayout::Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait");
}

std::optional<QPageLayout::Orientation> orientationFromName(const QString &name)
{
    if (name == QLatin1String("landscape"))
        return QPageLayout::Landscape;
    if (name == QLatin1String("portrait"))
        return QPageLayout::Portrait;
    return std::nullopt;
}

} // namespace

void PrinterChoice::save(QSettings &settings) const
{
    settings.setValue(PrinterKey, printerName);
    settings.setValue(FileKey, outputFileName);
    if (pageLayout.isValid()) {
        const QPageSize &paper = pageLayout.pageSize();
        settings.setValue(PaperKey, paper.key());
        settings.setValue(PaperSizeKey, paper.sizePoints());
        const QMarginsF margins = pageLayout.margins(QPageLayout::Millimeter);
        settings.setValue(
            MarginsKey, QList<QVariant> { margins.left(), margins.top(), margins.right(), margins.bottom() });
    }
    settings.setValue(OrientationKey, orientationName(orientation));
    settings.setValue(CopiesKey, copies);
    settings.setValue(CollateKey, collate);
    settings.setValue(DuplexKey, int(duplex));
    settings.setValue(ColourKey, colorMode == QPrinter::Color);
}

std::optional<PrinterChoice> PrinterChoice::load(QSettings &settings)
{
    if (!settings.contains(PrinterKey) && !settings.contains(FileKey))
        return std::nullopt;
    PrinterChoice choice;
    choice.printerName = settings.value(PrinterKey).toString();
    choice.outputFileName = settings.value(FileKey).toString();
    const QSize points = settings.value(PaperSizeKey).toSize();
    if (points.isValid() && !points.isEmpty()) {
        // A known paper by its name, else the size as it was, so a custom size survives too.
        const QPageSize paper(points, settings.value(PaperKey).toString(), QPageSize::FuzzyMatch);
        const QList<QVariant> margins = settings.value(MarginsKey).toList();
        const QMarginsF kept = margins.size() == 4 ? QMarginsF(margins[0].toDouble(), margins[1].toDouble(),
                                   margins[2].toDouble(), margins[3].toDouble())
                                                   : QMarginsF();
        choice.pageLayout = QPageLayout(paper, QPageLayout::Portrait, kept, QPageLayout::Millimeter);
    }
    choice.orientation = orientationFromName(settings.value(OrientationKey).toString());
    choice.copies = std::clamp(settings.value(CopiesKey, 1).toInt(), 1, 999);
    choice.collate = settings.value(CollateKey, true).toBool();
    const int duplex = settings.value(DuplexKey, int(QPrinter::DuplexNone)).toInt();
    choice.duplex = duplex >= QPrinter::DuplexNone && duplex <= QPrinter::DuplexShortSide
        ? QPrinter::DuplexMode(duplex)
        : QPrinter::DuplexNone;
    choice.colorMode = settings.value(ColourKey, true).toBool() ? QPrinter::Color : QPrinter::GrayScale;
    return choice;
}

} // namespace plotviewer
