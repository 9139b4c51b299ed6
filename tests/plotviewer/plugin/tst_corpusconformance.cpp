// Every file of the shared corpus of real-world plots, opened and pictured through the plugin.

#include "CorpusFiles.h"
#include "PictureInk.h"
#include "PlotServerPlugin.h"
#include "contract/PlotViewerContract.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

class tst_CorpusConformance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openAndPicture_data();
    void openAndPicture();
};

void tst_CorpusConformance::openAndPicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expect");

    const QDir folder = corpusFolder();
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no corpus at %1 (set TARNWICK_CORPUS_DIR)").arg(folder.path())));
    const QHash<QString, QString> expected = corpusExpectations(folder);
    for (const QString &name : files)
        QTest::newRow(qPrintable(name))
            << folder.filePath(name) << expected.value(name, QStringLiteral("picture"));
}

void tst_CorpusConformance::openAndPicture()
{
    QFETCH(QString, path);
    QFETCH(QString, expect);
    QString error;
    const std::unique_ptr<QObject> server = createPlotServer(&error);
    QVERIFY2(server, qPrintable(error));
    const std::unique_ptr<QObject> document
        = callForObject(*server, PlotViewer::Open, Q_ARG(QString, path), &error);
    if (expect == QLatin1String("error")) {
        QVERIFY(!document);
        QVERIFY2(error.contains(path), qPrintable(error));
        return;
    }
    if (!document) {
        QVERIFY2(expect == QLatin1String("either"), qPrintable(error));
        QVERIFY2(error.contains(path), qPrintable(error));
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("~plt000.jpg"));
    QCOMPARE(callMember(*document, PlotViewer::SaveTo, Q_ARG(QString, picture)), QString());
    const QImage image = QImageReader(picture).read();
    QVERIFY(!image.isNull());
    QVERIFY(image.width() <= 1024 && image.height() <= 768);
    QVERIFY2(inkedPixelCount(image) > 0, "the picture is blank");
}

QTEST_MAIN(tst_CorpusConformance)
#include "tst_corpusconformance.moc"
