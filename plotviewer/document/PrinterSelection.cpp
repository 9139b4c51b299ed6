#include "PrinterSelection.h"

#include "PrintDialogPrompt.h"
#include "PrinterLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>

namespace plotviewer {

PrinterSelection::PrinterSelection(
    std::shared_ptr<const PrinterLookup> lookup, std::shared_ptr<PrintDialogPrompt> prompt, QString setupFile)
    : m_lookup(std::move(lookup))
    , m_prompt(std::move(prompt))
    , m_setupFile(std::move(setupFile))
{
    if (m_setupFile.isEmpty() || !QFileInfo::exists(m_setupFile))
        return;
    QSettings saved(m_setupFile, QSettings::IniFormat);
    m_choice = PrinterChoice::load(saved);
    m_choiceInherited = m_choice.has_value();
}

QString PrinterSelection::userSetupFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tarnwick/print-setup.ini");
}

bool PrinterSelection::choose(QString *error, quintptr ownerWindow)
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
    switch (m_prompt->ask(printer, ownerWindow, error)) {
    case PrintDialogPrompt::Outcome::Accepted: {
        // Turning the page in the dialog fixes the orientation; leaving it lets each plot decide.
        const QPageLayout::Orientation chosen = printer.pageLayout().orientation();
        const std::optional<QPageLayout::Orientation> forced
            = chosen != offered ? std::optional(chosen) : orientation();
        m_choice = PrinterChoice::capture(printer, forced);
        m_jobsToFile = 0;
        m_choiceInherited = false;
        keepChoice();
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
    const QFileInfo info(chosen);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const auto numbered = [&](int job) {
        return job == 1 ? chosen
                        : info.dir().filePath(
                            QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(job).arg(suffix));
    };
    QString name = numbered(++m_jobsToFile);
    while (m_choiceInherited && QFileInfo::exists(name))
        name = numbered(++m_jobsToFile);
    return name;
}

void PrinterSelection::keepChoice() const
{
    if (m_setupFile.isEmpty())
        return;
    QSettings kept(m_setupFile, QSettings::IniFormat);
    kept.clear();
    m_choice->save(kept);
    kept.sync(); // QSettings replaces the file as a whole, never half written
    if (kept.status() != QSettings::NoError)
        qWarning("The print setup cannot be kept in %s.", qPrintable(m_setupFile));
}

} // namespace plotviewer
