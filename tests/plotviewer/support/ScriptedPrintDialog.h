#pragma once

#include "plotviewer/document/PrintDialogPrompt.h"

#include <QPrinter>

#include <functional>

namespace plotviewer::test {

/// Stands in for the print dialog: runs a script on the printer it is shown and answers with a
/// set outcome. Remembers the settings it was offered.
class ScriptedPrintDialog : public PrintDialogPrompt
{
public:
    std::function<void(QPrinter &)> script = [](QPrinter &) {};
    Outcome outcome = Outcome::Accepted;
    int shown = 0;
    QString offeredOutputFile;
    int offeredCopies = 0;
    quintptr ownerWindow = 0;

    Outcome ask(QPrinter &printer, quintptr owner, QString *error) override
    {
        ++shown;
        ownerWindow = owner;
        offeredOutputFile = printer.outputFileName();
        offeredCopies = printer.copyCount();
        script(printer);
        if (outcome == Outcome::Unavailable)
            *error = QStringLiteral("no dialog here");
        return outcome;
    }
};

} // namespace plotviewer::test
