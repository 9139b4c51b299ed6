#include "PlatformPrintDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>

namespace plotviewer {

PrintDialogPrompt::Outcome PlatformPrintDialog::ask(QPrinter &printer, QString *error)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        *error = QStringLiteral("The print dialog needs a running widget application.");
        return Outcome::Unavailable;
    }
    const std::unique_ptr<QPrintDialog> dialog = makeDialog(printer, QApplication::activeWindow());
    return dialog->exec() == QDialog::Accepted ? Outcome::Accepted : Outcome::Cancelled;
}

std::unique_ptr<QPrintDialog> PlatformPrintDialog::makeDialog(QPrinter &printer, QWidget *parent)
{
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setWindowTitle(QStringLiteral("Print Setup"));
    // Page ranges mean nothing for a plot run: every page of every file is printed. The paper and
    // its orientation are chosen here too.
    dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies
        | QAbstractPrintDialog::PrintShowPageSize);
    // Confirming keeps the choice and prints nothing, so the button must not say Print.
    if (auto *buttons = dialog->findChild<QDialogButtonBox *>()) {
        if (QPushButton *confirm = buttons->button(QDialogButtonBox::Ok))
            confirm->setText(QStringLiteral("OK"));
    }
    return dialog;
}

} // namespace plotviewer
