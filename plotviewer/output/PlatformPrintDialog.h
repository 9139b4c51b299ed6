#pragma once

#include "PrintDialogPrompt.h"

namespace plotviewer {

/// The platform's print dialog (printer, paper, orientation, copies), shown modally.
class PlatformPrintDialog : public PrintDialogPrompt
{
public:
    Outcome ask(QPrinter &printer, QString *error) override;
};

} // namespace plotviewer
