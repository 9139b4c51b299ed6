#include "PlatformPrintDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QWindow>

namespace plotviewer {

PrintDialogPrompt::Outcome PlatformPrintDialog::ask(QPrinter &printer, quintptr ownerWindow, QString *error)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        *error = QStringLiteral("The print dialog needs a running widget application.");
        return Outcome::Unavailable;
    }
    if (!m_displayAvailable) {
        *error = QStringLiteral("The print dialog needs a display, and the plot server has none.");
        return Outcome::Unavailable;
    }
    // A window of another process cannot be a widget's parent, but it can be the window the dialog
    // stands in front of, which window managers keep it above. It outlives the dialog.
    const std::unique_ptr<QWindow> owner(ownerWindow ? QWindow::fromWinId(WId(ownerWindow)) : nullptr);
    const std::unique_ptr<QPrintDialog> dialog
        = makeDialog(printer, owner ? nullptr : QApplication::activeWindow());
    if (owner) {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->winId(); // makes the dialog's native window, which the owner is set on
        dialog->windowHandle()->setTransientParent(owner.get());
    }
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
