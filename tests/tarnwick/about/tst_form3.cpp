#include "Form1Fixture.h"
#include "tarnwick/about/Form3.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

QList<QWidget *> aboutWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"Form3")
            windows.append(widget);
    }
    return windows;
}

QString label(QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(QLatin1String(name))->text();
}

} // namespace

class tst_Form3 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QApplication::closeAllWindows();
        QTRY_VERIFY(aboutWindows().isEmpty());
    }

    void showsTheVersionRecord()
    {
        Form1Fixture f;
        f.start();
        f.control<QPushButton>("cmdAbout")->click();
        QCOMPARE(aboutWindows().size(), 1);
        QWidget *about = aboutWindows().first();
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About Tarnwick"));
        QCOMPARE(label(about, "lblTitle"), QStringLiteral("Tarnwick"));
        QCOMPARE(label(about, "lblVersion"), QStringLiteral("Version 1.0.2"));
        QCOMPARE(label(about, "lblDescription"), QStringLiteral("Printer utility for plot files."));
        QVERIFY(label(about, "lblComments").contains(u'@'));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QCOMPARE(about->size(), QSize(390, 205)); // 5850 x 3068 twips at 96 DPI
        QVERIFY(about->windowFlags().testFlag(Qt::Tool)); // not in the task bar
        QVERIFY(!about->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!about->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!about->isModal());
        auto *ok = about->findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
    }

    void versionLine_data()
    {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("line");
        QTest::newRow("shipped") << 2 << "Version 1.0.2";
        QTest::newRow("two digits, no leading zero") << 12 << "Version 1.0.12";
        QTest::newRow("zero") << 0 << "Version 1.0.0";
    }
    void versionLine()
    {
        QFETCH(int, revision);
        QFETCH(QString, line);
        QCOMPARE(Form3::versionLine(1, 0, revision), line);
    }

    void disclaimerLinesEndWithBareCarriageReturns()
    {
        const QString text = Form3::disclaimer();
        QCOMPARE(text, QStringLiteral("\r  \r \r"));
        QVERIFY(!text.contains(u'\n'));
    }

    void oneWindowNotReloadedWhileOpen()
    {
        Form1Fixture f;
        f.start();
        auto *button = f.control<QPushButton>("cmdAbout");
        button->click();
        QWidget *about = aboutWindows().first();
        about->findChild<QLabel *>(QStringLiteral("lblTitle"))->setText(QStringLiteral("marker"));
        button->click();
        button->click();
        QCOMPARE(aboutWindows().size(), 1);
        QCOMPARE(aboutWindows().first(), about);
        QCOMPARE(label(about, "lblTitle"), QStringLiteral("marker"));
    }

    void closingUnloads_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close box") << "close";
    }
    void closingUnloads()
    {
        QFETCH(QString, how);
        Form1Fixture f;
        f.start();
        auto *button = f.control<QPushButton>("cmdAbout");
        button->click();
        QPointer<QWidget> about = aboutWindows().first();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(QApplication::focusWidget(), about->findChild<QPushButton *>(QStringLiteral("cmdOK")));
        about->findChild<QLabel *>(QStringLiteral("lblTitle"))->setText(QStringLiteral("marker"));
        if (how == u"OK")
            QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        else if (how == u"Enter")
            QTest::keyClick(about, Qt::Key_Return);
        else if (how == u"Esc")
            QTest::keyClick(about, Qt::Key_Escape);
        else
            about->close();
        QTRY_VERIFY(about.isNull());
        // The next press loads a fresh window.
        button->click();
        QCOMPARE(aboutWindows().size(), 1);
        QCOMPARE(label(aboutWindows().first(), "lblTitle"), QStringLiteral("Tarnwick"));
    }

    void mainWindowStaysUsable()
    {
        Form1Fixture f;
        f.start();
        f.control<QPushButton>("cmdAbout")->click();
        f.control<QPushButton>("cmdPrintSet")->click();
        QCOMPARE(f.server->log().trace(), QStringList { "PrintSetup()" });
        QCOMPARE(aboutWindows().size(), 1);
    }
};

QTEST_MAIN(tst_Form3)
#include "tst_form3.moc"
