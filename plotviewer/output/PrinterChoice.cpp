#include "PrinterChoice.h"

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

} // namespace plotviewer
