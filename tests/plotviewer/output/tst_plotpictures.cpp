// Pictures of whole plots as the plot server makes them: every corpus file and sample against a
// reference picture a person has looked at, and small plots whose pictures must keep a shape,
// a page count or a mirror relation.
//
// After a deliberate rendering change, rewrite the reference pictures and look at them:
//     TARNWICK_UPDATE_REFERENCES=1 ctest --test-dir build -R tst_plotpictures

#include "CorpusFiles.h"
#include "PictureComparison.h"
#include "PictureInk.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/render/PlotPicture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;
using namespace plotviewer::test;

namespace {

// Small enough to keep in the repository, large enough to show a turned or missing part.
const QSize kReferenceBound(256, 256);

QString referencePath(const QString &set, const QString &name)
{
    return QStringLiteral(TARNWICK_REFERENCE_PICTURES "/%1/%2.png").arg(set, name);
}

struct Opened
{
    QImage picture; // of the page a picture shows
    int pages = 0;
    QString error;
};

Opened open(const QString &path)
{
    const PlotLoader::Result loaded = PlotLoader::load(path);
    if (!loaded.document)
        return { {}, 0, loaded.error };
    const PlotDocument &document = *loaded.document;
    return { renderPlotPicture(document.previewPage(), kReferenceBound, document.pictureOptions()),
        int(document.plot().pages.size()), {} };
}

Opened openBytes(const QByteArray &plot)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("snippet.plt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(plot) != plot.size())
        return { {}, 0, QStringLiteral("cannot write %1").arg(path) };
    file.close();
    return open(path);
}

// "wide", "tall" or "square" (within a fifth) for the inked part of a picture.
QString inkShape(const QImage &picture)
{
    const QRect ink = inkBounds(picture);
    if (ink.width() > ink.height() * 6 / 5)
        return QStringLiteral("wide");
    if (ink.height() > ink.width() * 6 / 5)
        return QStringLiteral("tall");
    return QStringLiteral("square");
}

// Vertical strokes at x = 0 and 10000 from y = 0 to 4000: a picture extent symmetric about
// x = 5000 and y = 2000, so that mirroring about those lines is flipping the picture.
const QByteArray kMarkers("PA0,0;PD0,4000;PU;PA10000,0;PD10000,4000;PU;");

} // namespace

class tst_PlotPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void referencePictures_data();
    void referencePictures();
    void pages_data();
    void pages();
    void mirroredLabels_data();
    void mirroredLabels();
};

void tst_PlotPictures::referencePictures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("expect");

    const QDir corpus = corpusFolder();
    const QHash<QString, QString> expected = corpusExpectations(corpus);
    for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
        QTest::newRow(qPrintable(name))
            << corpus.filePath(name) << referencePath(QStringLiteral("corpus"), name)
            << expected.value(name, QStringLiteral("picture"));
    }
    const QDir samples(QStringLiteral(TARNWICK_SAMPLES_DIR));
    for (const QString &name : samples.entryList({ QStringLiteral("*.plt") }, QDir::Files, QDir::Name)) {
        QTest::newRow(qPrintable(QStringLiteral("samples/") + name)) << samples.filePath(
            name) << referencePath(QStringLiteral("samples"), name) << QStringLiteral("picture");
    }
    if (corpus.isEmpty())
        qWarning("no corpus at %s (set TARNWICK_CORPUS_DIR); only the samples are compared",
            qPrintable(corpus.path()));
}

void tst_PlotPictures::referencePictures()
{
    QFETCH(QString, path);
    QFETCH(QString, reference);
    QFETCH(QString, expect);
    const Opened opened = open(path);
    if (opened.picture.isNull()) {
        // Whether the failure is the right one is the conformance test's business.
        QVERIFY2(expect != QLatin1String("picture"), qPrintable(opened.error));
        QVERIFY2(!QFile::exists(reference), "a reference picture exists for a file that no longer opens");
        return;
    }
    QDir().mkpath(QFileInfo(reference).path());
    const QString difference = compareInkWithReference(opened.picture, reference);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void tst_PlotPictures::pages_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("shape"); // of the ink on the page the picture shows

    QTest::newRow("PCL paper source ejects between plots") << QByteArray(
        "\x1b"
        "E\x1b%0BIN;SP1;PA0,0;PD4000,0;PU;\x1b%1A\x1b&l0H\x1b%0BIN;SP1;PA0,0;PD0,4000;PU;\x1b%0A\x1b"
        "E") << 2 << QStringLiteral("wide");
    QTest::newRow("form feed in PCL ejects")
        << QByteArray("\x1b%0BIN;SP1;PA0,0;PD0,4000;PU;\x1b%0A\f\x1b%0BIN;SP1;PA0,0;PD4000,0;PU;") << 2
        << QStringLiteral("tall");
    QTest::newRow("PCL reset after marks ends the page") << QByteArray("\x1b%0BIN;SP1;PA0,0;PD4000,0;PU;\x1b"
                                                                       "E\x1b%0BIN;SP1;PA0,0;PD0,4000;PU;")
                                                         << 2 << QStringLiteral("wide");
    QTest::newRow("paper source before the first mark adds no page") << QByteArray(
        "\x1b"
        "E\x1b&l1H\x1b%0BIN;SP1;PA0,0;PD4000,0;PD4000,4000;PU;") << 1 << QStringLiteral("square");
}

void tst_PlotPictures::pages()
{
    QFETCH(QByteArray, plot);
    QFETCH(int, pages);
    QFETCH(QString, shape);
    const Opened opened = openBytes(plot);
    QVERIFY2(opened.error.isEmpty(), qPrintable(opened.error));
    QCOMPARE(opened.pages, pages);
    QCOMPARE(inkShape(opened.picture), shape);
}

void tst_PlotPictures::mirroredLabels_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("mirrored");
    QTest::addColumn<bool>("horizontally");
    QTest::addColumn<bool>("vertically");

    const QByteArray label("PA5000,2000;LBRF5\x03");
    const QByteArray alone("IN;SP1;");
    const QByteArray marked("IN;SP1;" + kMarkers);
    // Alone, the picture fits the estimated ink: a wrong estimate cuts the mirrored text.
    QTest::newRow("negative width, nothing cut")
        << alone + "SI1,1.4;" + label << alone + "SI-1,1.4;" + label << true << false;
    QTest::newRow("negative height, nothing cut")
        << alone + "SI1,1.4;" + label << alone + "SI1,-1.4;" + label << false << true;
    QTest::newRow("both negative turn the label half round")
        << alone + "SI1,1.4;" + label << alone + "SI-1,-1.4;" + label << true << true;
    QTest::newRow("negative width mirrors about the start point")
        << marked + "SI1,1.4;" + label << marked + "SI-1,1.4;" + label << true << false;
    QTest::newRow("negative height mirrors about the baseline")
        << marked + "SI1,1.4;" + label << marked + "SI1,-1.4;" + label << false << true;
    QTest::newRow("centred label mirrors about its centre")
        << marked + "LO5;SI1,1.4;" + label << marked + "LO5;SI-1,1.4;" + label << true << false;
    QTest::newRow("label origin offset mirrors too")
        << marked + "LO11;SI1,1.4;" + label << marked + "LO11;SI-1,-1.4;" + label << true << true;
    QTest::newRow("leftward path mirrors about the start point")
        << marked + "DV2;SI1,1.4;" + label << marked + "DV2;SI-1,1.4;" + label << true << false;
}

void tst_PlotPictures::mirroredLabels()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, mirrored);
    QFETCH(bool, horizontally);
    QFETCH(bool, vertically);
    const Opened expected = openBytes(plain);
    const Opened actual = openBytes(mirrored);
    QVERIFY2(expected.error.isEmpty(), qPrintable(expected.error));
    QVERIFY2(actual.error.isEmpty(), qPrintable(actual.error));
    const QString difference
        = compareInk(actual.picture.mirrored(horizontally, vertically), expected.picture);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

QTEST_MAIN(tst_PlotPictures)
#include "tst_plotpictures.moc"
