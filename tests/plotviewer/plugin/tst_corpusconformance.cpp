// Every file of the shared corpus of real-world plots, opened and pictured through the plugin.

#include "PictureInk.h"
#include "PlotServerPlugin.h"
#include "contract/PlotViewerContract.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer::test;

namespace {

/// The corpus folder: TARNWICK_CORPUS_DIR, else beside the source tree in shared/corpus/files.
QString corpusFolder()
{
    const QString overridden = qEnvironmentVariable("TARNWICK_CORPUS_DIR");
    if (!overridden.isEmpty())
        return overridden;
    return QDir(qEnvironmentVariable("TARNWICK_SOURCE_DIR"))
        .filePath(QStringLiteral("../shared/corpus/files"));
}

/// What EXPECT.tsv says a file gives, by name: "error" or "either"; files not named give a picture.
QHash<QString, QString> expectations(const QString &path)
{
    QHash<QString, QString> expected;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return expected;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || fields.size() != 2
            || fields[0] == QLatin1String("saved_name"))
            continue;
        expected.insert(fields[0], fields[1]);
    }
    return expected;
}

} // namespace

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

    const QDir folder(corpusFolder());
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no corpus at %1 (set TARNWICK_CORPUS_DIR)").arg(folder.path())));
    const QHash<QString, QString> expected = expectations(folder.filePath(QStringLiteral("../EXPECT.tsv")));
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
