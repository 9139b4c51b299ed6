// Pictures of a plot: their size and shape, and writing them safely.

#include "PictureInk.h"
#include "SamplePage.h"
#include "plotviewer/files/PictureFile.h"
#include "plotviewer/files/PngEncoder.h"
#include "plotviewer/render/PlotPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace plotviewer;
using namespace plotviewer::test;

class tst_PlotPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureSize_data();
    void pictureSize();
    void pictureIsWhiteWithInk();
    void writeReplacesExistingFile();
    void pngIsCompressed();
    void pngReadsBackExactly_data();
    void pngReadsBackExactly();
    void pngWriteFailureIsReported();
    void failedWriteKeepsExistingFile_data();
    void failedWriteKeepsExistingFile();
};

void tst_PlotPicture::pictureSize_data()
{
    QTest::addColumn<Rect>("extent");
    QTest::addColumn<Placement>("placement");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("four by three fills the bound")
        << Rect { 0, 0, 400, 300 } << Placement::Fit << QSize(1024, 768);
    QTest::newRow("wide page is bound by width")
        << Rect { 0, 0, 2000, 500 } << Placement::Fit << QSize(1024, 256);
    QTest::newRow("tall page is bound by height")
        << Rect { 0, 0, 500, 1000 } << Placement::Fit << QSize(384, 768);
    QTest::newRow("negative origin") << Rect { -300, -300, 300, 300 } << Placement::Fit << QSize(768, 768);
    QTest::newRow("a sliver keeps a pixel") << Rect { 0, 0, 1e9, 1 } << Placement::Fit << QSize(1024, 1);
    QTest::newRow("no extent takes the bound") << Rect {} << Placement::Fit << QSize(1024, 768);
    QTest::newRow("actual size: 96 pixels an inch")
        << Rect { 0, 0, 5 * 1016, 2 * 1016 } << Placement::ActualSize << QSize(480, 192);
    QTest::newRow("actual size is cut to the bound")
        << Rect { 0, 0, 1e12, 1016 } << Placement::ActualSize << QSize(1024, 96);
}

void tst_PlotPicture::pictureSize()
{
    QFETCH(Rect, extent);
    QFETCH(Placement, placement);
    QFETCH(QSize, expected);
    QCOMPARE(plotPictureSize(extent, QSize(1024, 768), placement), expected);
}

void tst_PlotPicture::pictureIsWhiteWithInk()
{
    const Page page = SamplePage().stroke({ { 0, 0 }, { 2000, 1000 } }, pen({ 0, 0, 0 }, 50)).build();
    const QImage picture = renderPlotPicture(page, QSize(1024, 768), {});
    QCOMPARE(picture.width(), 1024);
    // Ink bounds 2050 x 1050 with a 61.5 margin all round.
    QCOMPARE(picture.height(), qRound(1024.0 * 1173 / 2173));
    QCOMPARE(picture.pixelColor(2, picture.height() - 3), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(picture.width() - 3, 2), QColor(Qt::white));
    QVERIFY(picture.pixelColor(picture.rect().center()).lightness() < 100);
}

void tst_PlotPicture::writeReplacesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("~plt000.jpg"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();

    QImage picture(320, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QString error;
    QVERIFY2(writePictureFile(picture, path, "jpeg", &error), qPrintable(error));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(320, 200));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("~plt000.jpg") });
}

void tst_PlotPicture::pngIsCompressed()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.png"));
    QImage picture(1024, 768, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QString error;
    QVERIFY2(writePictureFile(picture, path, "png", &error), qPrintable(error));
    // Stored raw, the picture would take 2.3 MB.
    QVERIFY(QFileInfo(path).size() < 100000);
    QCOMPARE(QImage(path).pixelColor(512, 384), QColor(Qt::white));
}

void tst_PlotPicture::pngReadsBackExactly_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QImage::Format>("stored");

    // A line drawn anti-aliased on white: greys only.
    QImage grey(64, 48, QImage::Format_RGB32);
    grey.fill(Qt::white);
    {
        QPainter painter(&grey);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.drawLine(QPointF(3.3, 2.7), QPointF(60.1, 45.2));
    }
    QImage colour = grey;
    colour.setPixelColor(10, 10, QColor(255, 0, 0));
    QImage nearlyGrey = grey;
    nearlyGrey.setPixelColor(63, 47, QColor(200, 200, 201));
    QTest::newRow("greys are stored as grey") << grey << QImage::Format_Grayscale8;
    QTest::newRow("one red pixel keeps colour") << colour << QImage::Format_RGB32;
    QTest::newRow("a blue that is almost grey keeps colour") << nearlyGrey << QImage::Format_RGB32;
    QTest::newRow("three-byte greys")
        << grey.convertToFormat(QImage::Format_RGB888) << QImage::Format_Grayscale8;
    QTest::newRow("three-byte colour")
        << colour.convertToFormat(QImage::Format_RGB888) << QImage::Format_RGB32;
    QTest::newRow("another format is converted")
        << colour.convertToFormat(QImage::Format_ARGB32_Premultiplied) << QImage::Format_RGB32;
}

void tst_PlotPicture::pngReadsBackExactly()
{
    QFETCH(QImage, picture);
    QFETCH(QImage::Format, stored);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QString reason;
    QVERIFY2(encodePng(picture, buffer, reason), qPrintable(reason));
    buffer.close();
    QImage read;
    QVERIFY(read.loadFromData(buffer.data(), "png"));
    QCOMPARE(read.format(), stored);
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(read.dotsPerMeterX(), 3780);
}

void tst_PlotPicture::pngWriteFailureIsReported()
{
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QBuffer readOnly;
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    QString reason;
    QVERIFY(!encodePng(picture, readOnly, reason));
    QCOMPARE(reason, QStringLiteral("the picture could not be written out"));
    QVERIFY(!encodePng(QImage(), readOnly, reason));
    QCOMPARE(reason, QStringLiteral("the picture is empty"));
}

void tst_PlotPicture::failedWriteKeepsExistingFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("reason");

    QTest::newRow("unknown format") << QStringLiteral("picture.jpg") << QByteArray("no-such-format")
                                    << QStringLiteral("Unsupported image format");
    QTest::newRow("missing folder") << QStringLiteral("missing/picture.jpg") << QByteArray("jpeg")
                                    << QStringLiteral("No such file or directory");
    QTest::newRow("a folder in the way") << QStringLiteral("folder") << QByteArray("jpeg") << QString();
    QTest::newRow("png into a missing folder") << QStringLiteral("missing/picture.png") << QByteArray("png")
                                               << QStringLiteral("No such file or directory");
}

void tst_PlotPicture::failedWriteKeepsExistingFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = dir.filePath(name);
    QFile old(dir.filePath(QStringLiteral("picture.jpg")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old picture");
    old.close();

    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QString error;
    QVERIFY(!writePictureFile(picture, path, format.constData(), &error));
    QVERIFY2(
        error.startsWith(QStringLiteral("Cannot write the picture \"%1\": ").arg(path)), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old picture"));
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList { QStringLiteral("picture.jpg") });
}

QTEST_MAIN(tst_PlotPicture)
#include "tst_plotpicture.moc"
