#include "Form1Fixture.h"
#include "PrintListFiller.h"
#include "browse/DirList.h"
#include "browse/FileList.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace {

QList<QWidget *> previewWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"Form2" && widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

void openDirectory(Form1Fixture &f, const QStringList &names)
{
    const QString dir = f.env.makeDirectory(QStringLiteral("plots"));
    for (const QString &name : names)
        f.env.makeFile(QStringLiteral("plots/") + name);
    QVERIFY(f.control<DirList>("Dir1")->setPath(dir));
}

void doubleClick(Form1Fixture &f)
{
    QMetaObject::invokeMethod(f.control<FileList>("File1"), "entryDoubleClicked");
}

} // namespace

class tst_Preview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QApplication::closeAllWindows();
        QTRY_VERIFY(previewWindows().isEmpty());
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
            const QSize pictureSize = f.server->log().pictureSize(document);
            auto *box = window->findChild<QLabel *>(QStringLiteral("Picture1"));
            QVERIFY(box->isVisible());
            QCOMPARE(box->pos(), QPoint(0, 0));
            QCOMPARE(box->size(), pictureSize);
            // Outer size: the picture's width, its height plus 400 twips (27 pixels at 96 DPI).
            QCOMPARE(window->frameGeometry().size(), pictureSize + QSize(0, 27));
            QCOMPARE(window->minimumSize(), window->maximumSize());
            QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!window->isModal());
        }
        QCOMPARE(f.boxes.count(), 0);

        // A second double click opens new windows and leaves the earlier ones open.
        files->clearSelection();
        files->selectRows({ 2 });
        doubleClick(f);
        QCOMPARE(previewWindows().size(), 4);
    }

    void failureEndsTheHandlingQuietly_data()
    {
        QTest::addColumn<QString>("member");
        QTest::newRow("second cannot be opened") << "Open";
        QTest::newRow("second picture not written") << "SaveTo";
    }
    void failureEndsTheHandlingQuietly()
    {
        QFETCH(QString, member);
        Form1Fixture f;
        f.start();
        openDirectory(f, { "a.plt", "b.plt", "c.plt" });
        f.control<FileList>("File1")->selectRows({ 0, 1, 2 });
        f.server->log().failCall(member, 2);
        doubleClick(f);
        QCOMPARE(previewWindows().size(), 1);
        QCOMPARE(previewWindows().first()->windowTitle(), QStringLiteral("Preview of : a.plt"));
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(!f.server->log().trace().join(u' ').contains(u"c.plt"));
        QCOMPARE(f.server->log().liveDocuments, 0);
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
        const QString picture = f.env.appDir() + QStringLiteral("/~plt000.jpg");
        f.env.makeFile(QStringLiteral("unused")); // keep the scratch space alive
        QFile stale(picture);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        f.control<FileList>("File1")->selectRows({ 0 });
        doubleClick(f);
        QVERIFY(previewWindows().isEmpty());
        QCOMPARE(f.boxes.count(), 1);
        QVERIFY(!QFileInfo::exists(picture));
    }

    void imageFlagRule()
    {
        Form1Fixture f;
        f.start();
        openDirectory(f, { "a.plt", "b.plt" });
        auto *files = f.control<FileList>("File1");
        files->selectRows({ 0, 1 });
        // No picture at the first double click: the probe fails, and no entry of this double click
        // deletes the picture the first one leaves.
        doubleClick(f);
        QCOMPARE(f.server->log().pictureExistedAtSave, (QList<bool> { false, true }));
        // The next double click probes afresh and deletes the picture before rendering.
        files->clearSelection();
        files->selectRows({ 1 });
        doubleClick(f);
        QCOMPARE(f.server->log().pictureExistedAtSave, (QList<bool> { false, true, false }));
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

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"
