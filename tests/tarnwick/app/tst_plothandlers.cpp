#include "Form1Fixture.h"
#include "PreviewWindows.h"
#include "PrintListFiller.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QThread>

// The print, print setup and preview handlers of the main window, end to end against the fake
// server; the call sequences and their failures are covered by the print run's and preview's tests.

namespace {

const QString FailureText
    = QStringLiteral("OLE Automation failure, make sure you have PDMS PlotViewer(tm) properly installed.");

QStringList expectedRun(const QString &dir, const QStringList &names, int mode, bool actualSize)
{
    QStringList trace;
    for (const QString &name : names) {
        trace << QStringLiteral("Open(%1/%2)").arg(dir, name) << QStringLiteral("SetColorMode(%1)").arg(mode);
        if (actualSize)
            trace << QStringLiteral("ActualSize()");
        trace << QStringLiteral("DoPrint()");
    }
    return trace;
}

void openDirectory(Form1Fixture &f, const QStringList &names)
{
    const QString dir = f.env.makeDirectory(QStringLiteral("plots"));
    for (const QString &name : names)
        f.env.makeFile(QStringLiteral("plots/") + name);
    QVERIFY(f.control<DirList>("Dir1")->setPath(dir));
}

QStringList plotNames(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("plot%1.plt").arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

/// What the main window shows of a print run's progress, as "value: label", or "nothing".
QString progressShown(const Form1Fixture &f)
{
    const auto *dialog = f.form->findChild<QProgressDialog *>();
    if (!dialog || !dialog->isVisible())
        return QStringLiteral("nothing");
    if (dialog->windowModality() != Qt::WindowModal || dialog->parentWidget() != f.form.get())
        return QStringLiteral("not window-modal on the main window");
    return QStringLiteral("%1: %2").arg(dialog->value()).arg(dialog->labelText());
}

/// Starts the main window and shows it, as the progress dialog needs it on screen.
void startShown(Form1Fixture &f)
{
    f.start();
    f.form->show();
    if (!QTest::qWaitForWindowExposed(f.form.get()))
        QFAIL("the main window was not shown");
}

/// Makes every DoPrint take `milliseconds` and records the progress shown while it runs.
void recordProgressDuringPrints(Form1Fixture &f, QStringList &shown, unsigned long milliseconds)
{
    f.server->log().duringCall = [&f, &shown, milliseconds](const QString &member, int) {
        if (member != u"DoPrint")
            return;
        QThread::msleep(milliseconds);
        shown.append(progressShown(f));
    };
}

void doubleClick(Form1Fixture &f)
{
    QMetaObject::invokeMethod(f.control<FileList>("File1"), "entryDoubleClicked");
}

} // namespace

class tst_PlotHandlers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QApplication::closeAllWindows();
        QTRY_VERIFY(previewWindows().isEmpty());
    }

    void printTakesTheWindowsChoices_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("actualSize");
        QTest::newRow("black and white") << "optBandW" << 0 << false;
        QTest::newRow("grey scale, actual size") << "optGrey" << 2 << true;
    }
    void printTakesTheWindowsChoices()
    {
        QFETCH(QString, option);
        QFETCH(int, mode);
        QFETCH(bool, actualSize);
        Form1Fixture f;
        f.start();
        const QStringList names { "a.plt", "b.plt", "c.plt" };
        const QString dir = fillPrintList(f, names);
        f.form->findChild<QRadioButton *>(option)->click();
        f.control<QCheckBox>("chkActSze")->setChecked(actualSize);
        QCOMPARE(int(f.form->colourMode()), mode);

        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names, mode, actualSize));
        QCOMPARE(f.boxes.count(), 0);
        // The list stays as it was and can be printed again.
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("3"));
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names + names, mode, actualSize));
    }

    void printOfAnEmptyListSaysNothing()
    {
        Form1Fixture f;
        f.start();
        f.control<QPushButton>("cmdPrint")->click();
        QVERIFY(f.server->log().calls.isEmpty());
        QCOMPARE(f.boxes.count(), 0);
    }

    void failedPrintIsReportedAndTheServerDropped()
    {
        Form1Fixture f;
        f.start();
        const QString dir = fillPrintList(f, { "a.plt", "b.plt", "c.plt" });
        f.server->log().failCall(QStringLiteral("DoPrint"), 2);
        f.control<QPushButton>("cmdPrint")->click();

        QCOMPARE(f.server->log().calls.size(), 6);
        QCOMPARE(f.boxes.count(), 1);
        const SeenMessageBox box = f.boxes.seen().first();
        QCOMPARE(box.title, QStringLiteral("Print Server Failed"));
        QCOMPARE(box.text, FailureText);
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!f.form->holdsPlotServer());
        QCOMPARE(f.server->log().liveServers, 0);
        QCOMPARE(f.server->log().liveDocuments, 0);
        QVERIFY(!f.guard.hasEnded());

        // With the reference empty the next run fails at once, until print setup mends it.
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().calls.size(), 6);
        QCOMPARE(f.boxes.count(), 2);
        f.control<QPushButton>("cmdPrintSet")->click();
        QCOMPARE(f.server->log().trace().last(), QStringLiteral("PrintSetup()"));
        QVERIFY(f.form->holdsPlotServer());
        f.server->log().calls.clear();
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, { "a.plt", "b.plt", "c.plt" }, 1, false));
        QCOMPARE(f.boxes.count(), 2);
    }

    void longRunShowsProgressAndCanBeCancelled()
    {
        Form1Fixture f;
        startShown(f);
        const QStringList names = plotNames(6);
        const QString dir = fillPrintList(f, names);
        QStringList shown;
        recordProgressDuringPrints(f, shown, 250);
        const auto recordAndCancel = f.server->log().duringCall;
        f.server->log().duringCall = [&](const QString &member, int occurrence) {
            recordAndCancel(member, occurrence);
            // A screen reader presses Print List under the dialog: the run already going is the only one.
            if (member == u"DoPrint" && occurrence == 2)
                QMetaObject::invokeMethod(
                    f.control<QPushButton>("cmdPrint"), &QPushButton::click, Qt::QueuedConnection);
            // The user presses Cancel while the third plot prints; the press waits for the run.
            if (member == u"DoPrint" && occurrence == 3) {
                auto *cancel = f.form->findChild<QProgressDialog *>()->findChild<QPushButton *>();
                QMetaObject::invokeMethod(cancel, &QPushButton::click, Qt::QueuedConnection);
            }
        };
        f.control<QPushButton>("cmdPrint")->click();

        // Six plots of 250 ms promise more than a second: the dialog comes once the first is done.
        QCOMPARE(shown,
            (QStringList {
                "nothing", "1: Printing file 2 of 6: plot002.plt", "2: Printing file 3 of 6: plot003.plt" }));
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names.mid(0, 3), 1, false));
        QCOMPARE(f.server->log().liveDocuments, 0);
        QVERIFY(!f.form->findChild<QProgressDialog *>());
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(f.form->holdsPlotServer());

        // The next run starts afresh.
        f.server->log().duringCall = {};
        f.server->log().calls.clear();
        f.control<QPushButton>("cmdPrint")->click();
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names, 1, false));
    }

    void serverWorkWaitsForTheRunUnderWay()
    {
        Form1Fixture f;
        startShown(f);
        const QStringList names = plotNames(4);
        const QString dir = fillPrintList(f, names);
        f.control<QPushButton>("cmdAll")->click();
        QStringList shown;
        recordProgressDuringPrints(f, shown, 400);
        const auto record = f.server->log().duringCall;
        f.server->log().duringCall = [&](const QString &member, int occurrence) {
            record(member, occurrence);
            // A screen reader double-clicks a file and presses Print Setup while the second plot prints.
            if (member == u"DoPrint" && occurrence == 2) {
                QMetaObject::invokeMethod(
                    f.control<FileList>("File1"), "entryDoubleClicked", Qt::QueuedConnection);
                QMetaObject::invokeMethod(
                    f.control<QPushButton>("cmdPrintSet"), &QPushButton::click, Qt::QueuedConnection);
            }
        };
        f.control<QPushButton>("cmdPrint")->click();
        f.server->log().duringCall = {};
        // The run went to its end first; then the preview and the print setup, in the order they came.
        const QStringList trace = f.server->log().trace();
        const QStringList run = expectedRun(dir, names, 1, false);
        QCOMPARE(trace.mid(0, run.size()), run);
        QVERIFY2(trace.at(run.size()).startsWith(u"Open(") && trace.last() == u"PrintSetup()",
            qPrintable(trace.join(u' ')));
        QCOMPARE(f.boxes.count(), 0);
        QApplication::closeAllWindows();
    }

    void shortRunShowsNoProgress_data()
    {
        QTest::addColumn<int>("plots");
        QTest::addColumn<int>("printMs");
        QTest::newRow("three plots of 100 ms") << 3 << 100;
        QTest::newRow("two hundred quick plots") << 200 << 0;
    }
    void shortRunShowsNoProgress()
    {
        QFETCH(int, plots);
        QFETCH(int, printMs);
        Form1Fixture f;
        startShown(f);
        const QStringList names = plotNames(plots);
        const QString dir = fillPrintList(f, names);
        QStringList shown;
        recordProgressDuringPrints(f, shown, printMs);
        f.control<QPushButton>("cmdPrint")->click();

        QCOMPARE(shown, QStringList(plots, QStringLiteral("nothing")));
        QCOMPARE(f.server->log().trace(), expectedRun(dir, names, 1, false));
        QVERIFY(!f.form->findChild<QProgressDialog *>());
        QCOMPARE(f.boxes.count(), 0);
    }

    void failureDuringLongRunIsReportedWithoutProgress()
    {
        Form1Fixture f;
        startShown(f);
        fillPrintList(f, plotNames(6));
        QStringList shown;
        recordProgressDuringPrints(f, shown, 250);
        f.server->log().failCall(QStringLiteral("DoPrint"), 3);
        f.control<QPushButton>("cmdPrint")->click();

        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown.last().startsWith(u"2: "), qPrintable(shown.last())); // the dialog was up
        QCOMPARE(f.server->log().calls.size(), 9);
        // The progress went with the run, before the report came: nothing stands over the report.
        QVERIFY(!f.form->findChild<QProgressDialog *>());
        QCOMPARE(f.boxes.count(), 1);
        QCOMPARE(f.boxes.seen().first().title, QStringLiteral("Print Server Failed"));
        QVERIFY(!f.form->holdsPlotServer());
        QCOMPARE(f.server->log().liveDocuments, 0);
        QVERIFY(!f.guard.hasEnded());
    }

    void failingPrintSetupKeepsTheProgramRunning_data()
    {
        QTest::addColumn<bool>("creationFails");
        QTest::addColumn<QString>("description");
        QTest::newRow("no server") << true << "the fake server refuses to start";
        QTest::newRow("print setup fails") << false << "\"PrintSetup\" failed: no printer";
    }
    void failingPrintSetupKeepsTheProgramRunning()
    {
        QFETCH(bool, creationFails);
        QFETCH(QString, description);
        Form1Fixture f;
        f.start();
        fillPrintList(f, { "a.plt", "b.plt" });
        f.server->log().creationFails = creationFails;
        f.server->log().failCall(QStringLiteral("PrintSetup"), 1, QStringLiteral("no printer"));
        f.control<QPushButton>("cmdPrintSet")->click();

        QCOMPARE(f.boxes.count(), 1);
        QCOMPARE(f.boxes.seen().first().title, QStringLiteral("Tarnwick"));
        QVERIFY2(f.boxes.seen().first().text.contains(description), qPrintable(f.boxes.seen().first().text));
        QVERIFY(!f.guard.hasEnded());
        QVERIFY(f.form->holdsPlotServer());
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("2"));
    }

    void everySelectedEntryGetsAWindow()
    {
        Form1Fixture f;
        f.start();
        openDirectory(f, { "a.plt", "b.plt", "c.plt", "d.plt" });
        auto *files = f.control<FileList>("File1");
        files->selectRows({ 0, 1, 3 });
        f.control<QAbstractButton>("optGrey")->click();
        doubleClick(f);

        const QList<QWidget *> windows = previewWindows();
        QCOMPARE(windows.size(), 3);
        QStringList captions;
        for (QWidget *window : windows)
            captions.append(window->windowTitle());
        captions.sort();
        QCOMPARE(
            captions, (QStringList { "Preview of : a.plt", "Preview of : b.plt", "Preview of : d.plt" }));
        const QString picture = f.env.appDir() + QStringLiteral("/~plt000.jpg");
        QCOMPARE(f.server->log().trace(),
            (QStringList { "Open(" + files->path() + "/a.plt)", "SetColorMode(2)", "SaveTo(" + picture + ")",
                "Open(" + files->path() + "/b.plt)", "SetColorMode(2)", "SaveTo(" + picture + ")",
                "Open(" + files->path() + "/d.plt)", "SetColorMode(2)", "SaveTo(" + picture + ")" }));
        QCOMPARE(f.server->log().liveDocuments, 0);
        // The picture file holds the last entry's picture; each window keeps its own.
        QCOMPARE(QImageReader(picture).size(), f.server->log().pictureSize(3));
        for (QWidget *window : windows) {
            const int document = window->windowTitle().endsWith(u"a.plt") ? 1
                : window->windowTitle().endsWith(u"b.plt")                ? 2
                                                                          : 3;
            auto *box = window->findChild<QLabel *>(QStringLiteral("Picture1"));
            QVERIFY(box->isVisible());
            QCOMPARE(box->size(), f.server->log().pictureSize(document));
        }
        QCOMPARE(f.boxes.count(), 0);

        // A second double click opens new windows and leaves the earlier ones open.
        files->clearSelection();
        files->selectRows({ 2 });
        doubleClick(f);
        QCOMPARE(previewWindows().size(), 4);
    }

    void failedPreviewEndsQuietly()
    {
        Form1Fixture f;
        f.start();
        openDirectory(f, { "a.plt", "b.plt", "c.plt" });
        f.control<FileList>("File1")->selectRows({ 0, 1, 2 });
        f.server->log().failCall(QStringLiteral("SaveTo"), 2);
        doubleClick(f);
        QCOMPARE(previewWindows().size(), 1);
        QCOMPARE(previewWindows().first()->windowTitle(), QStringLiteral("Preview of : a.plt"));
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(!f.guard.hasEnded());
    }

    void noServerNoWindow()
    {
        Form1Fixture f;
        f.start();
        fillPrintList(f, { "a.plt" });
        f.server->log().failCall(QStringLiteral("Open"), 1);
        f.control<QPushButton>("cmdPrint")->click(); // a failed run empties the reference
        QCOMPARE(f.boxes.count(), 1);
        f.control<FileList>("File1")->selectRows({ 0 });
        doubleClick(f);
        QVERIFY(previewWindows().isEmpty());
        QCOMPARE(f.boxes.count(), 1);
        QVERIFY(!f.guard.hasEnded());
    }

    void nothingSelectedNothingHappens()
    {
        Form1Fixture f;
        f.start();
        openDirectory(f, { "a.plt" });
        doubleClick(f);
        QVERIFY(f.server->log().calls.isEmpty());
        QVERIFY(previewWindows().isEmpty());
    }

    void realDoubleClickPreviewsTheEntry()
    {
        Form1Fixture f;
        f.start();
        openDirectory(f, { "a.plt", "b.plt" });
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        auto *files = f.control<FileList>("File1");
        const QRect second = files->visualRect(files->model()->index(1, 0));
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, second.center());
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, second.center());
        QTRY_COMPARE(previewWindows().size(), 1);
        QCOMPARE(previewWindows().first()->windowTitle(), QStringLiteral("Preview of : b.plt"));
    }
};

QTEST_MAIN(tst_PlotHandlers)
#include "tst_plothandlers.moc"
