// Curves a plot asks for in finer chords than the output can show are drawn in fewer, and the
// user is told so once; curves left to the default chord angle are thinned without a word.

#include "plotviewer/files/PdfFile.h"
#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/render/PlotPicture.h"

#include <QBuffer>
#include <QTest>

using namespace plotviewer;

class tst_CurveChords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fewerChordsAreTold_data();
    void fewerChordsAreTold();
};

void tst_CurveChords::fewerChordsAreTold_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<int>("pictureSide"); // 0 for an A4 PDF
    QTest::addColumn<bool>("told");

    // A circle of 2000 units is 384 pixels across in a 768-pixel picture, 95 mm on A4.
    const QByteArray fine = "IN;SP1;PA5000,5000;CI2000,0.5;";
    QTest::newRow("fine circle, wide pen, picture") << fine << 768 << true;
    QTest::newRow("fine circle, PDF shows every chord") << fine << 0 << false;
    QTest::newRow("default chords, thumbnail") << QByteArray("IN;SP1;PA5000,5000;CI2000;") << 32 << false;
    // The default chord angle given explicitly asks for nothing finer than the default.
    QTest::newRow("default chords given, thumbnail")
        << QByteArray("IN;SP1;PA5000,5000;CI2000,5;") << 32 << false;
    QTest::newRow("coarser than default, thumbnail")
        << QByteArray("IN;SP1;PA5000,5000;CI2000,10;") << 32 << false;
    // Hairlines lose only chords shorter than a quarter pixel.
    const QByteArray hairline = "IN;SP1;PW0;PA5000,5000;CI2000,0.5;";
    QTest::newRow("fine hairline circle, picture") << hairline << 768 << false;
    QTest::newRow("fine hairline circle, thumbnail") << hairline << 32 << true;
    QTest::newRow("fine deviation (CT1)") << QByteArray("IN;SP1;CT1;PA5000,5000;CI2000,0.01;") << 768 << true;
    QTest::newRow("fine filled wedge") << QByteArray("IN;SP1;PA5000,5000;WG2000,0,270,0.5;") << 768 << true;
    QTest::newRow("fine arc") << QByteArray("IN;SP1;PA7000,5000;PD;AA5000,5000,270,0.5;") << 768 << true;
    QTest::newRow("fine arc with the pen up")
        << QByteArray("IN;SP1;PA0,0;PD;PA100,100;PU;PA7000,5000;AA5000,5000,270,0.5;") << 768 << false;
    QTest::newRow("fine circle filled in a polygon")
        << QByteArray("IN;SP1;PA5000,5000;PM0;CI2000,1;PM2;FP;") << 768 << true;
    // 2000 circles 7.5 mm across, each a fraction of a millimetre on A4.
    QByteArray many = "IN;SP1;";
    for (int i = 0; i < 2000; ++i)
        many += "PA" + QByteArray::number(i % 50 * 400) + "," + QByteArray::number(i / 50 * 400)
            + ";CI150,0.01;";
    QTest::newRow("2000 fine circles, PDF") << many << 0 << true;
}

void tst_CurveChords::fewerChordsAreTold()
{
    QFETCH(QByteArray, plot);
    QFETCH(int, pictureSide);
    QFETCH(bool, told);

    const InterpretResult result = interpretPlot(std::string_view(plot.constData(), plot.size()));
    QCOMPARE(result.plot.pages.size(), std::size_t(1));
    QStringList warnings;
    if (pictureSide > 0) {
        bool fewerChords = !told;
        const QImage picture
            = renderPlotPicture(result.plot.pages.front(), QSize(pictureSide, pictureSide), {}, &fewerChords);
        QVERIFY(!picture.isNull());
        if (fewerChords)
            warnings << fewerChordsWarning();
    } else {
        QBuffer pdf;
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        const PrintedSheets printed
            = writePdf(pdf, result.plot, QPageSize(QPageSize::A4), {}, QStringLiteral("circles"));
        QVERIFY(printed.written);
        warnings = printed.warnings();
    }
    QCOMPARE(warnings, told ? QStringList { fewerChordsWarning() } : QStringList {});
}

QTEST_MAIN(tst_CurveChords)
#include "tst_curvechords.moc"
