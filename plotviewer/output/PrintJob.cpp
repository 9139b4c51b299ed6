#include "PrintJob.h"

#include "PagedPlotWriter.h"
#include "PlotDocument.h"
#include "PrinterSelection.h"

#include <QPrinter>

namespace plotviewer {

PrintJob::PrintJob(PlotDocument &document, PrinterSelection &selection)
    : m_document(document)
    , m_selection(selection)
{ }

bool PrintJob::run(QString *error)
{
    const std::unique_ptr<QPrinter> printer = m_selection.printerForNextJob(error);
    if (!printer) {
        *error = QStringLiteral("Cannot print \"%1\": %2").arg(m_document.fileName(), *error);
        return false;
    }
    return runOn(*printer, error);
}

bool PrintJob::runOn(QPrinter &printer, QString *error)
{
    printer.setDocName(m_document.fileName());
    RenderOptions options;
    options.colourMode = m_document.colourMode();
    options.placement = m_document.takePrintPlacement();
    const PrintedSheets printed = PagedPlotWriter(options, m_selection.orientation(), m_document.fileName())
                                      .write(printer, m_document.plot());
    m_document.notePrinted(printed.warnings());
    if (printed.written && printer.printerState() != QPrinter::Error)
        return true;
    const QString target = printer.outputFileName().isEmpty()
        ? QStringLiteral("the printer \"%1\"").arg(printer.printerName())
        : QStringLiteral("\"%1\"").arg(printer.outputFileName());
    *error
        = QStringLiteral("Cannot print \"%1\": %2 did not take the job.").arg(m_document.fileName(), target);
    return false;
}

} // namespace plotviewer
