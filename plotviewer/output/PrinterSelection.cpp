#include "PrinterSelection.h"

#include "PrintDialogPrompt.h"
#include "PrinterLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace plotviewer {

PrinterSelection::PrinterSelection(
    std::shared_ptr<const PrinterLookup> lookup, std::shared_ptr<PrintDialogPrompt> prompt)
    : m_lookup(std::move(lookup))
    , m_prompt(std::move(prompt))
{ }

bool PrinterSelection::choose(QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    if (m_choice) {
        m_choice->applyTo(printer);
        if (m_choice->orientation)
            printer.setPageOrientation(*m_choice->orientation);
    } else if (const QString name = m_lookup->defaultPrinterName(); !name.isEmpty()) {
        printer.setPrinterName(name);
    }
    const QPageLayout::Orientation offered = printer.pageLayout().orientation();
    switch (m_prompt->ask(printer, error)) {
    case PrintDialogPrompt::Outcome::Accepted: {
        // Turning the page in the dialog fixes the orientation; leaving it lets each plot decide.
        const QPageLayout::Orientation chosen = printer.pageLayout().orientation();
        const std::optional<QPageLayout::Orientation> forced
            = chosen != offered ? std::optional(chosen) : orientation();
        m_choice = PrinterChoice::capture(printer, forced);
        m_jobsToFile = 0;
        return true;
    }
    case PrintDialogPrompt::Outcome::Cancelled:
        return true;
    case PrintDialogPrompt::Outcome::Unavailable:
        break;
    }
    return false;
}

std::unique_ptr<QPrinter> PrinterSelection::printerForNextJob(QString *error)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_choice && !m_choice->outputFileName.isEmpty()) {
        m_choice->applyTo(*printer);
        printer->setOutputFileName(nextOutputFileName());
        return printer;
    }
    const QString name = m_choice ? m_choice->printerName : m_lookup->defaultPrinterName();
    if (name.isEmpty()) {
        *error = QStringLiteral("No printer is installed, so there is nothing to print to.");
        return nullptr;
    }
    if (m_choice)
        m_choice->applyTo(*printer);
    else
        printer->setPrinterName(name);
    // QPrinter quietly falls back to another printer when the named one has gone.
    if (printer->printerName() != name || !printer->isValid()) {
        *error = QStringLiteral("The printer \"%1\" is not available.").arg(name);
        return nullptr;
    }
    return printer;
}

std::optional<QPageLayout::Orientation> PrinterSelection::orientation() const
{
    return m_choice ? m_choice->orientation : std::nullopt;
}

QString PrinterSelection::nextOutputFileName()
{
    const QString &chosen = m_choice->outputFileName;
    if (++m_jobsToFile == 1)
        return chosen;
    const QFileInfo info(chosen);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(
        QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(m_jobsToFile).arg(suffix));
}

} // namespace plotviewer
