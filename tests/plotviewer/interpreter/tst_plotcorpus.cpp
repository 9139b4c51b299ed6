// Every real-world file of the shared corpus: no crash, and an error exactly where EXPECT.tsv says;
// page frames of the files that give a plot size.

#include "CorpusFiles.h"
#include "PlotTestSupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRectF>
#include <QTest>

#include <algorithm>

class tst_PlotCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void file_data();
    void file();
    void pageFrame_data();
    void pageFrame();
    void rasterShowsWhole_data();
    void rasterShowsWhole();

private:
    QDir m_files;
    QHash<QString, QString> m_expected;
};

void tst_PlotCorpus::initTestCase()
{
    m_files = plotviewer::test::corpusFolder();
    if (!m_files.exists())
        QSKIP("the shared corpus is not next to the source tree (set TARNWICK_CORPUS_DIR)");
    QVERIFY(QFile::exists(m_files.filePath(QStringLiteral("../EXPECT.tsv"))));
    m_expected = plotviewer::test::corpusExpectations(m_files);
}

void tst_PlotCorpus::file_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expect");
    const QStringList names = m_files.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name))
            << m_files.filePath(name) << m_expected.value(name, QStringLiteral("draw"));
}

void tst_PlotCorpus::file()
{
    QFETCH(QString, path);
    QFETCH(QString, expect);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const plotviewer::InterpretResult result = plottest::interpret(file.readAll());
    if (expect == QLatin1String("either"))
        return; // either outcome is fine; reaching here means no crash
    if (expect == QLatin1String("error")) {
        QVERIFY(!result.error.empty());
        QVERIFY(result.plot.pages.empty());
        return;
    }
    QVERIFY2(result.error.empty(), result.error.c_str());
    QVERIFY(!result.plot.pages.empty());
    for (const plotviewer::Page &page : result.plot.pages) {
        QVERIFY(!page.items.empty());
        QVERIFY(!page.inkBounds.isEmpty());
    }
}

void tst_PlotCorpus::pageFrame_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSizeF>("frame");

    // CAD exports whose PS gives the sides the other way round from their drawing.
    QTest::newRow("PS swapped to hold the drawing")
        << QStringLiteral("ezdxf__PLOTFILE.plt") << QSizeF(23760, 16800);
    QTest::newRow("PS swapped although nearly square")
        << QStringLiteral("ezdxf__GB01_Stahlbau.plt") << QSizeF(36000, 33640);
    QTest::newRow("PS that holds its drawing")
        << QStringLiteral("ezdxf__HSG_ISO.plt") << QSizeF(60000, 33640);
    // Drawn beyond its page in both orders, so the page stays as given and clips; RO90 turns the
    // drawing on that page, not the page.
    QTest::newRow("PS with RO90 held by neither order")
        << QStringLiteral("hp2xx__286x192.5_qh.hpg") << QSizeF(7910, 10830);
}

void tst_PlotCorpus::pageFrame()
{
    QFETCH(QString, name);
    QFETCH(QSizeF, frame);
    QFile file(m_files.filePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const plotviewer::InterpretResult result = plottest::interpret(file.readAll());
    QVERIFY2(result.error.empty(), result.error.c_str());
    const plotviewer::Rect &actual = result.plot.pages.front().frame;
    QCOMPARE(QRectF(actual.left, actual.bottom, actual.right - actual.left, actual.top - actual.bottom),
        QRectF(QPointF(0, 0), frame));
}

void tst_PlotCorpus::rasterShowsWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("PCL page with raster pictures and HP-GL/2 labels") << QStringLiteral("ghostpdl__owl.pcl");
    QTest::newRow("raster only") << QStringLiteral("hp2xx__acad.pcl");
}

void tst_PlotCorpus::rasterShowsWhole()
{
    QFETCH(QString, name);
    QFile file(m_files.filePath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const plotviewer::InterpretResult result = plottest::interpret(bytes);
    QVERIFY2(result.error.empty(), result.error.c_str());
    for (const std::string &warning : result.plot.warnings)
        QVERIFY2(warning.find("raster") == std::string::npos, warning.c_str());
    // An orientation command after the owl's first label ejects that page, so the pictures share one
    // later page: every image the file starts shows there, inside the page.
    const auto withImages = std::count_if(result.plot.pages.begin(), result.plot.pages.end(),
        [](const plotviewer::Page &page) { return !page.images.empty(); });
    QCOMPARE(withImages, 1);
    const plotviewer::Page &page = *std::find_if(result.plot.pages.begin(), result.plot.pages.end(),
        [](const plotviewer::Page &page) { return !page.images.empty(); });
    QCOMPARE(qsizetype(page.images.size()), bytes.count("\x1b*r1A"));
    for (const plotviewer::RasterImage &image : page.images) {
        QVERIFY(image.width > 0 && image.height > 0);
        const double right = image.origin.x + image.across.x * image.width;
        const double bottom = image.origin.y + image.down.y * image.height;
        QVERIFY(image.origin.x >= page.frame.left && right <= page.frame.right);
        QVERIFY(bottom >= page.frame.bottom && image.origin.y <= page.frame.top);
    }
}

QTEST_GUILESS_MAIN(tst_PlotCorpus)
#include "tst_plotcorpus.moc"
