#pragma once

#include "PrinterChoice.h"

#include <memory>
#include <optional>

class QPrinter;

namespace plotviewer {

class PrinterLookup;
class PrintDialogPrompt;

/// The printer settings of one plot server, shared by the documents it opens: the user's choice
/// from the print dialog, else the system's default printer. With a setup file, a confirmed choice
/// is kept there and the next server starts from it.
class PrinterSelection
{
public:
    PrinterSelection(std::shared_ptr<const PrinterLookup> lookup, std::shared_ptr<PrintDialogPrompt> prompt,
        QString setupFile = {});

    /// The user's own setup file: tarnwick/print-setup.ini in the XDG configuration folder.
    static QString userSetupFile();

    /// Shows the print dialog over the window `ownerWindow` (a native window id, 0 for none),
    /// starting from the current choice; a cancelled dialog keeps it. False with `error` set when no
    /// dialog could be shown.
    bool choose(QString *error, quintptr ownerWindow = 0);
    /// A printer set up for the next job; null with `error` set when there is none to print to.
    /// When the user chose to print to a file, later jobs get numbered files beside it
    /// ("plot.pdf", "plot-2.pdf", ...) so that one job does not overwrite the last.
    std::unique_ptr<QPrinter> printerForNextJob(QString *error);
    /// The orientation the user forced, if any.
    std::optional<QPageLayout::Orientation> orientation() const;

private:
    QString nextOutputFileName();
    void keepChoice() const;

    std::shared_ptr<const PrinterLookup> m_lookup;
    std::shared_ptr<PrintDialogPrompt> m_prompt;
    QString m_setupFile;
    std::optional<PrinterChoice> m_choice;
    int m_jobsToFile = 0;
    /// Set while the choice is one an earlier server made: its jobs then never replace a file, which
    /// may be that server's output.
    bool m_choiceInherited = false;
};

} // namespace plotviewer
