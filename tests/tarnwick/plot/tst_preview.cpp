#include "FakePlotServer.h"
#include "TestEnvironment.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/plot/PlotServer.h"
#include "tarnwick/plot/Preview.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTest>

using PlotViewer::ColourMode;

namespace {

/// What the preview handed on: for each plot, its path and whether its picture was there.
struct Shown
{
    QString path;
    QSize pictureSize;
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
    QString preview(const QStringList &paths, ColourMode mode = ColourMode::Colour)
    {
        Preview run(server.object(), mode, picture, [this](const QString &pictureFile, const QString &path) {
            shown.append({ path, QImageReader(pictureFile).size() });
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
        QTest::addColumn<ColourMode>("mode");
        QTest::newRow("colour") << ColourMode::Colour;
        QTest::newRow("black and white") << ColourMode::BlackAndWhite;
        QTest::newRow("grey scale") << ColourMode::GreyScale;
    }
    void everyPlotIsRenderedAndHandedOn()
    {
        QFETCH(ColourMode, mode);
        PreviewRun run;
        const QStringList paths { "/plots/a.plt", "/plots/b.plt", "/plots/d.plt" };
        QCOMPARE(run.preview(paths, mode), QString());
        QCOMPARE(run.fake.log().trace(), rendered(paths, int(mode), run.picture));
        QCOMPARE(run.fake.log().liveDocuments, 0);
        // Each plot's own picture is handed on before the next one is rendered.
        QCOMPARE(run.shown.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(run.shown.at(i).path, paths.at(i));
            QCOMPARE(run.shown.at(i).pictureSize, run.fake.log().pictureSize(i + 1));
        }
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
        QCOMPARE(run.fake.log().liveDocuments, 0);
    }

    void failureToShowStopsThePreview()
    {
        PreviewRun run;
        Preview preview(run.server.object(), ColourMode::Colour, run.picture,
            [](const QString &, const QString &) { throw AutomationError(QStringLiteral("cannot show")); });
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
