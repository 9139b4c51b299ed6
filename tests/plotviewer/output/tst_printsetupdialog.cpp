#include "plotviewer/document/PlatformPrintDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

using plotviewer::PlatformPrintDialog;

namespace {

/// The texts of the buttons the user sees.
QStringList visibleButtonTexts(const QWidget &dialog)
{
    QStringList texts;
    for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>()) {
        if (button->isVisible() && !button->text().isEmpty())
            texts.append(button->text());
    }
    return texts;
}

} // namespace

class tst_PrintSetupDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsAsASetup()
    {
        QPrinter printer;
        const std::unique_ptr<QPrintDialog> dialog = PlatformPrintDialog::makeDialog(printer, nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Print Setup"));
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
        QVERIFY(buttons->button(QDialogButtonBox::Cancel));
        // Nothing the user sees offers to print, and no page range is asked for.
        const QStringList texts = visibleButtonTexts(*dialog);
        QVERIFY2(!texts.contains(QStringLiteral("&Print")) && !texts.contains(QStringLiteral("Print")),
            qPrintable(texts.join(u'|')));
        for (const QGroupBox *group : dialog->findChildren<QGroupBox *>()) {
            QVERIFY2(
                !group->isVisible() || !group->title().contains(QStringLiteral("range"), Qt::CaseInsensitive),
                qPrintable(group->title()));
        }
        dialog->reject();
    }

    void confirmingKeepsTheChoice()
    {
        QPrinter printer;
        const std::unique_ptr<QPrintDialog> dialog = PlatformPrintDialog::makeDialog(printer, nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(tst_PrintSetupDialog)
#include "tst_printsetupdialog.moc"
