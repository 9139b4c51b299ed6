#pragma once

#include "PrintDialogPrompt.h"

#include <memory>

class QPrintDialog;
class QWidget;

namespace plotviewer {

/// The platform's print dialog (printer, paper, orientation, copies), shown modally.
class PlatformPrintDialog : public PrintDialogPrompt
{
public:
    /// A server without a display says so instead of showing a dialog nobody can see or close.
    explicit PlatformPrintDialog(bool displayAvailable = true)
        : m_displayAvailable(displayAvailable)
    { }

    Outcome ask(QPrinter &printer, quintptr ownerWindow, QString *error) override;

    /// The dialog `ask` shows: titled and labelled as a setup, since confirming only keeps the choice.
    static std::unique_ptr<QPrintDialog> makeDialog(QPrinter &printer, QWidget *parent);

private:
    bool m_displayAvailable;
};

} // namespace plotviewer
