#include "FakePlotServer.h"
#include "TestEnvironment.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/plot/PlotServer.h"
#include "tarnwick/plot/Preview.h"
#include "tarnwick/plot/PreviewPageMaker.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>
#include <QTest>

using PlotViewer::ColourModeNumber;

namespace {

/// What the preview handed on: for each plot, its path, the size of the picture in the picture
/// file, the pages and the document the others are made from.
struct Shown
{
    QString path;
    QSize pictureSize;
    PreviewPages pages;
    AutomationObject document;
};

class PreviewRun
{
public:
    PreviewRun()
    {
        server.create();
        picture = env.appDir() + QStringLiteral("/~plt000.jpg");
    }

    /// Previews `paths`; the failure it threw, or an empty string.
    QString preview(const QStringList &paths, ColourModeNumber mode = ColourModeNumber::Colour)
    {
        Preview run(server.object(), mode, picture,
            [this](const QString &pictureFile, const QString &path, PreviewPages pages,
                const AutomationObject &document) {
                shown.append({ path, QImageReader(pictureFile).size(), std::move(pages), document });
            });
        try {
            run.showAll(paths);
        } catch (const AutomationError &error) {
            return error.description();
        }
        return {};
    }

    void leaveStalePicture() const
    {
        QFile stale(picture);
        if (!stale.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(picture));
    }

    FakePlotServerRegistration fake;
    TestEnvironment env;
    PlotServer server;
    QString picture;
    QList<Shown> shown;
};

QStringList rendered(const QStringList &paths, int mode, const QString &picture)
{
    QStringList trace;
    for (const QString &path : paths)
        trace << "Open(" + path + ")" << QStringLiteral("SetColorMode(%1)").arg(mode)
              << "SaveTo(" + picture + ")";
    return trace;
}

} // namespace

class tst_Preview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPlotIsRenderedAndHandedOn_data()
    {
        QTest::addColumn<ColourModeNumber>("mode");
        QTest::newRow("colour") << ColourModeNumber::Colour;
        QTest::newRow("black and white") << ColourModeNumber::BlackAndWhite;
        QTest::newRow("grey scale") << ColourModeNumber::GreyScale;
    }
    void everyPlotIsRenderedAndHandedOn()
    {
        QFETCH(ColourModeNumber, mode);
        PreviewRun run;
        const QStringList paths { "/plots/a.plt", "/plots/b.plt", "/plots/d.plt" };
        QCOMPARE(run.preview(paths, mode), QString());
        QCOMPARE(run.fake.log().trace(), rendered(paths, int(mode), run.picture));
        // Each plot's own picture is handed on before the next one is rendered. The fake, as an
        // older server, tells of no pages: each plot shows one.
        QCOMPARE(run.shown.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(run.shown.at(i).path, paths.at(i));
            QCOMPARE(run.shown.at(i).pictureSize, run.fake.log().pictureSize(i + 1));
            QCOMPARE(run.shown.at(i).pages.total(), 1);
        }
        // The documents go with the pictures, for the windows to hold while they make other pages.
        QCOMPARE(run.fake.log().liveDocuments, 3);
        run.shown.clear();
        QCOMPARE(run.fake.log().liveDocuments, 0);
    }

    void failureStopsBeforeTheFailingPicture_data()
    {
        QTest::addColumn<QString>("member");
        QTest::newRow("second cannot be opened") << "Open";
        QTest::newRow("colour mode refused") << "SetColorMode";
        QTest::newRow("second picture not written") << "SaveTo";
    }
    void failureStopsBeforeTheFailingPicture()
    {
        QFETCH(QString, member);
        PreviewRun run;
        run.fake.log().failCall(member, 2);
        const QString failure = run.preview({ "/plots/a.plt", "/plots/b.plt", "/plots/c.plt" });
        QVERIFY2(failure.contains(member), qPrintable(failure));
        QCOMPARE(run.shown.size(), 1);
        QCOMPARE(run.shown.first().path, QStringLiteral("/plots/a.plt"));
        QVERIFY(!run.fake.log().trace().join(u' ').contains(u"c.plt"));
        QCOMPARE(run.fake.log().liveDocuments, 1); // the first plot's, which its window holds
    }

    void everyPageIsSavedOnce_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("savedPage");
        QTest::addColumn<int>("firstHeld");
        QTest::addColumn<int>("lastHeld");
        QTest::newRow("three pages, SaveTo's the first") << 3 << 1 << 1 << 3;
        QTest::newRow("three pages, SaveTo's the second") << 3 << 2 << 1 << 3;
        QTest::newRow("one page") << 1 << 1 << 1 << 1;
        QTest::newRow("a long plot: the first 200") << 250 << 1 << 1 << 200;
        QTest::newRow("a long plot: 200 from SaveTo's") << 500 << 230 << 230 << 429;
    }
    void everyPageIsSavedOnce()
    {
        QFETCH(int, pages);
        QFETCH(int, savedPage);
        QFETCH(int, firstHeld);
        QFETCH(int, lastHeld);
        PreviewRun run;
        run.fake.log().pageCount = [pages](int) { return pages; };
        run.fake.log().previewPage = [savedPage](int) { return savedPage; };
        QCOMPARE(run.preview({ "/plots/a.plt" }), QString());

        // The window opens on SaveTo's picture alone: the other pages come later.
        QStringList expected = rendered({ "/plots/a.plt" }, 1, run.picture);
        expected << QStringLiteral("PageCount()");
        if (pages > 1)
            expected << QStringLiteral("PreviewPage()");
        QCOMPARE(run.fake.log().trace(), expected);
        QCOMPARE(run.shown.size(), 1);
        PreviewPages shown = run.shown.first().pages;
        QCOMPARE(shown.total(), pages);
        QCOMPARE(shown.current(), savedPage - 1);
        QCOMPARE(shown.first(), firstHeld - 1);
        QCOMPARE(shown.last(), lastHeld - 1);
        QCOMPARE(shown.madeCount(), 0);
        QCOMPARE(run.shown.first().pictureSize, run.fake.log().pageSize(1, savedPage));

        // Made in the background, each held page but SaveTo's once, the one after SaveTo's first.
        QList<PreviewPageMaker::Work> toMake;
        for (int page = firstHeld; page <= lastHeld; ++page) {
            if (page != savedPage)
                toMake.append(PreviewPageMaker::Work { page - 1 });
        }
        PreviewPageMaker maker(std::exchange(run.shown.first().document, {}), toMake);
        QSignalSpy made(&maker, &PreviewPageMaker::pageMade);
        QSignalSpy finished(&maker, &PreviewPageMaker::finished);
        maker.start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(finished.first().first().toString(), QString());
        QCOMPARE(made.size(), toMake.size());
        for (const QList<QVariant> &page : made) {
            const qsizetype number = page.at(0).value<qsizetype>();
            QBuffer picture;
            picture.setData(page.at(1).toByteArray());
            QCOMPARE(QImageReader(&picture).size(), run.fake.log().pageSize(1, int(number) + 1));
        }
        QCOMPARE(run.fake.log().liveDocuments, 0);
        const QStringList calls = run.fake.log().trace().mid(expected.size());
        QCOMPARE(calls.size(), toMake.size());
        if (!calls.isEmpty()) {
            const QString pageFile = run.fake.log().calls.last().arguments.value(1).toString();
            QVERIFY(!pageFile.startsWith(run.env.appDir()));
        }
    }

    void pageMakingStopsAtAFailure()
    {
        PreviewRun run;
        run.fake.log().pageCount = [](int) { return 4; };
        QCOMPARE(run.preview({ "/plots/a.plt" }), QString());
        run.fake.log().failCall(QStringLiteral("SavePageTo"), 2, QStringLiteral("server gone"));
        PreviewPageMaker maker(std::exchange(run.shown.first().document, {}), { { 1 }, { 2 }, { 3 } });
        QSignalSpy made(&maker, &PreviewPageMaker::pageMade);
        QSignalSpy finished(&maker, &PreviewPageMaker::finished);
        maker.start();
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY2(finished.first().first().toString().contains(u"server gone"),
            qPrintable(finished.first().first().toString()));
        QCOMPARE(made.size(), 1); // the page before the failure stays made
        QCOMPARE(run.fake.log().liveDocuments, 0);
    }

    void preferredPageIsMadeNext()
    {
        PreviewRun run;
        run.fake.log().pageCount = [](int) { return 5; };
        QCOMPARE(run.preview({ "/plots/a.plt" }), QString());
        PreviewPageMaker maker(std::exchange(run.shown.first().document, {}), { { 1 }, { 2 }, { 3 }, { 4 } });
        QSignalSpy made(&maker, &PreviewPageMaker::pageMade);
        QSignalSpy finished(&maker, &PreviewPageMaker::finished);
        maker.start(); // page 1 is under way: the preferred page comes after it
        maker.prefer(4);
        QTRY_COMPARE(finished.size(), 1);
        QList<qsizetype> order;
        for (const QList<QVariant> &page : made)
            order.append(page.at(0).value<qsizetype>());
        QCOMPARE(order, (QList<qsizetype> { 1, 4, 2, 3 }));
    }

    void pageFailureStopsThePreview_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<int>("savedPage");
        QTest::newRow("page count refused") << "PageCount" << 1;
        QTest::newRow("SaveTo's page refused") << "PreviewPage" << 1;
        QTest::newRow("SaveTo's page beyond the last") << QString() << 4;
        QTest::newRow("SaveTo's page before the first") << QString() << 0;
    }
    void pageFailureStopsThePreview()
    {
        QFETCH(QString, member);
        QFETCH(int, savedPage);
        PreviewRun run;
        run.fake.log().pageCount = [](int) { return 3; };
        run.fake.log().previewPage = [savedPage](int) { return savedPage; };
        if (!member.isEmpty())
            run.fake.log().failCall(member, 1);
        const QString failure = run.preview({ "/plots/a.plt", "/plots/b.plt" });
        QVERIFY(!failure.isEmpty());
        QVERIFY(run.shown.isEmpty());
        QCOMPARE(run.fake.log().documentsCreated, 1);
        QCOMPARE(run.fake.log().liveDocuments, 0);
    }

    void failureToShowStopsThePreview()
    {
        PreviewRun run;
        Preview preview(run.server.object(), ColourModeNumber::Colour, run.picture,
            [](const QString &, const QString &, PreviewPages, const AutomationObject &) {
                throw AutomationError(QStringLiteral("cannot show"));
            });
        QVERIFY_THROWS_EXCEPTION(AutomationError, preview.showAll({ "/plots/a.plt", "/plots/b.plt" }));
        QCOMPARE(run.fake.log().documentsCreated, 1);
    }

    void noServerNoPicture()
    {
        PreviewRun run;
        run.server.release();
        run.leaveStalePicture();
        QVERIFY(run.preview({ "/plots/a.plt" }).contains(QStringLiteral("Object variable not set")));
        QVERIFY(run.shown.isEmpty());
        // The probe ran before the call failed.
        QVERIFY(!QFileInfo::exists(run.picture));
    }

    void pictureProbe_data()
    {
        QTest::addColumn<bool>("stalePicture");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QList<bool>>("existedAtSave");
        QTest::addColumn<bool>("pictureAfter");
        // No picture: the probe fails, and no later plot of this preview deletes the picture the
        // first one leaves.
        QTest::newRow("no picture, two plots")
            << false << QStringList { "/a.plt", "/b.plt" } << QList<bool> { false, true } << true;
        // A picture: each plot's probe deletes the one before.
        QTest::newRow("stale picture, two plots")
            << true << QStringList { "/a.plt", "/b.plt" } << QList<bool> { false, false } << true;
        QTest::newRow("stale picture, three plots") << true << QStringList { "/a.plt", "/b.plt", "/c.plt" }
                                                    << QList<bool> { false, false, false } << true;
        // Nothing to preview: nothing is probed, so nothing is deleted.
        QTest::newRow("stale picture, nothing selected") << true << QStringList {} << QList<bool> {} << true;
        QTest::newRow("no picture, nothing selected") << false << QStringList {} << QList<bool> {} << false;
    }
    void pictureProbe()
    {
        QFETCH(bool, stalePicture);
        QFETCH(QStringList, paths);
        QFETCH(QList<bool>, existedAtSave);
        QFETCH(bool, pictureAfter);
        PreviewRun run;
        if (stalePicture)
            run.leaveStalePicture();
        QCOMPARE(run.preview(paths), QString());
        QCOMPARE(run.fake.log().pictureExistedAtSave, existedAtSave);
        QCOMPARE(QFileInfo::exists(run.picture), pictureAfter);
    }

    void eachPreviewProbesAfresh()
    {
        PreviewRun run;
        QCOMPARE(run.preview({ "/a.plt", "/b.plt" }), QString());
        QCOMPARE(run.preview({ "/b.plt" }), QString());
        QCOMPARE(run.fake.log().pictureExistedAtSave, (QList<bool> { false, true, false }));
    }
};

QTEST_MAIN(tst_Preview)
#include "tst_preview.moc"
