#pragma once

#include <QString>

class QPrinter;

namespace plotviewer {

/// Asks the user for printer settings; tests replace the platform dialog with a scripted one.
class PrintDialogPrompt
{
public:
    enum class Outcome { Accepted, Cancelled, Unavailable };

    virtual ~PrintDialogPrompt() = default;
    /// Lets the user change `printer`, in front of the native window `ownerWindow` when it is not 0.
    /// On Unavailable, `error` says why no dialog could be shown.
    virtual Outcome ask(QPrinter &printer, quintptr ownerWindow, QString *error) = 0;
};

} // namespace plotviewer
