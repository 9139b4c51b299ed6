#include "PlatformPrintDialog.h"

#include <QApplication>
#include <QPrintDialog>

namespace plotviewer {

PrintDialogPrompt::Outcome PlatformPrintDialog::ask(QPrinter &printer, QString *error)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        *error = QStringLiteral("The print dialog needs a running widget application.");
        return Outcome::Unavailable;
    }
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // Page ranges mean nothing for a plot run: every page of every file is printed. The paper and
    // its orientation are chosen here too.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies
        | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted ? Outcome::Accepted : Outcome::Cancelled;
}

} // namespace plotviewer
