#pragma once

#include <QString>

class QPrinter;

namespace plotviewer {

class PlotDocument;
class PrinterSelection;

/// Prints one document as one job named after its file: each plot page on a sheet of its own,
/// turned to the page's shape, fitted to the paper or at actual size as the document asks; at
/// actual size, a page larger than the paper goes over several sheets, which the document's
/// warnings then tell.
class PrintJob
{
public:
    PrintJob(PlotDocument &document, PrinterSelection &selection);

    /// Prints to the selection's printer. False with `error` set on failure.
    bool run(QString *error);
    /// Prints to `printer`, such as a PDF file.
    bool runOn(QPrinter &printer, QString *error);

private:
    /// Prints to `printer`, which `target` names in a failure's description.
    bool print(QPrinter &printer, const QString &target, QString *error);

    PlotDocument &m_document;
    PrinterSelection &m_selection;
};

} // namespace plotviewer
