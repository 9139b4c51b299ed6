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
    Outcome ask(QPrinter &printer, QString *error) override;

    /// The dialog `ask` shows: titled and labelled as a setup, since confirming only keeps the choice.
    static std::unique_ptr<QPrintDialog> makeDialog(QPrinter &printer, QWidget *parent);
};

} // namespace plotviewer
