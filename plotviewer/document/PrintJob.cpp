#include "PrintJob.h"

#include "PlotDocument.h"
#include "PrinterSelection.h"
#include "plotviewer/files/AtomicSave.h"
#include "plotviewer/files/PagedPlotWriter.h"

#include <QDir>
#include <QPrinter>
#include <QTemporaryFile>

#include <sys/stat.h>

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
    const QString outputFile = printer->outputFileName();
    if (outputFile.isEmpty())
        return runOn(*printer, error);
    // A job printed to a file is written aside and put in place whole, so a print that is stopped
    // (its server ended) never leaves half a file under the name the user chose.
    QTemporaryFile aside(QDir(QDir::tempPath()).filePath(QStringLiteral("tarnwick-print-XXXXXX.pdf")));
    if (!aside.open()) {
        *error = QStringLiteral("Cannot print \"%1\": no room for the job: %2")
                     .arg(m_document.fileName(), aside.errorString());
        return false;
    }
    aside.close();
    // The printed file gets the permissions of any new file, not a temporary file's private ones.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(aside.fileName()).constData(), 0666 & ~mask);
    printer->setOutputFileName(aside.fileName());
    if (!print(*printer, QStringLiteral("\"%1\"").arg(outputFile), error))
        return false;
    if (!moveAtomically(aside.fileName(), outputFile, QStringLiteral("printed file"), error))
        return false;
    aside.setAutoRemove(false); // moved away: the name may be another file's by now
    return true;
}

bool PrintJob::runOn(QPrinter &printer, QString *error)
{
    const QString target = printer.outputFileName().isEmpty()
        ? QStringLiteral("the printer \"%1\"").arg(printer.printerName())
        : QStringLiteral("\"%1\"").arg(printer.outputFileName());
    return print(printer, target, error);
}

bool PrintJob::print(QPrinter &printer, const QString &target, QString *error)
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
    *error
        = QStringLiteral("Cannot print \"%1\": %2 did not take the job.").arg(m_document.fileName(), target);
    return false;
}

} // namespace plotviewer
