// The CUPS filter's pen table: the administrator's file, read for every job, whose problems are
// WARNING: lines in CUPS's log and never stop the job.

#include "PdfProbe.h"
#include "PictureInk.h"
#include "plotviewer/cupsfilter/CupsFilterMain.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace plotviewer;
using namespace plotviewer::test;

class tst_PlotFilterPens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableAppliesAndNeverStopsTheJob_data();
    void tableAppliesAndNeverStopsTheJob();

private:
    QTemporaryDir m_dir;
};

void tst_PlotFilterPens::tableAppliesAndNeverStopsTheJob_data()
{
    QTest::addColumn<QByteArray>("table"); // the file's contents; "folder" makes it a folder, empty none
    QTest::addColumn<bool>("wide");
    QTest::addColumn<QString>("warning");

    QTest::newRow("no table") << QByteArray() << false << QString();
    QTest::newRow("a wide pen 2") << QByteArray("[Pens]\n2=4\n") << true << QString();
    QTest::newRow("a bad line among good ones")
        << QByteArray("[Pens]\n3=#12345\n2=4 #000000\n") << true
        << QStringLiteral("WARNING: pen table \"%1\", line 2 (\"3=#12345\") is skipped: the colour");
    QTest::newRow("a table that is a folder")
        << QByteArray("folder") << false << QStringLiteral("WARNING: the pen table \"%1\" is not a file");
}

void tst_PlotFilterPens::tableAppliesAndNeverStopsTheJob()
{
    QFETCH(QByteArray, table);
    QFETCH(bool, wide);
    QFETCH(QString, warning);
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    const QString tablePath = m_dir.filePath(QStringLiteral("pens-%1.ini").arg(QTest::currentDataTag()));
    if (table == "folder") {
        QVERIFY(QDir().mkpath(tablePath));
    } else if (!table.isEmpty()) {
        QFile file(tablePath);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(table) == table.size());
    }
    // A line of pen 2 inside a frame of pen 1 that fixes the page's scale.
    const QString plot = m_dir.filePath(QStringLiteral("pens.plt"));
    QFile plotFile(plot);
    QVERIFY(plotFile.open(QIODevice::WriteOnly));
    plotFile.write("IN;SP1;PA0,-2000;EA4000,2000;SP2;PA0,0;PD4000,0;PU;");
    plotFile.close();

    QFile standardInput;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QString logText;
    QTextStream log(&logText);
    const QStringList arguments { QStringLiteral("plottopdf"), QStringLiteral("17"),
        QStringLiteral("someone"), QStringLiteral("pens.plt"), QStringLiteral("1"), QString(), plot };
    QCOMPARE(cupsFilterMain(
                 arguments, standardInput, pdf, log, [] {}, tablePath),
        0);
    log.flush();
    const QStringList warnings = logText.split(u'\n').filter(QStringLiteral("WARNING:"));
    if (warning.isEmpty()) {
        QVERIFY2(warnings.isEmpty(), qPrintable(logText));
    } else {
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.front().startsWith(warning.arg(tablePath)), qPrintable(logText));
    }

    const QString pdfPath = m_dir.filePath(QStringLiteral("pens.pdf"));
    QFile pdfFile(pdfPath);
    QVERIFY(pdfFile.open(QIODevice::WriteOnly) && pdfFile.write(pdf.data()) == pdf.data().size());
    pdfFile.close();
    PdfProbe probe;
    QString error;
    QVERIFY2(probe.open(pdfPath, &error), qPrintable(error));
    const QImage page = probe.renderPage(0, 72, &error);
    QVERIFY2(!page.isNull(), qPrintable(error));
    // Down the middle: the frame's two sides and the line, 4 mm or 0.35 mm wide before fitting (about
    // 22 or 2 pixels at this scale, with some 3 pixels for each side).
    int inked = 0;
    for (int y = 0; y < page.height(); ++y)
        inked += QColor(page.pixel(page.width() / 2, y)).lightness() < inkLightness;
    QVERIFY2(wide ? inked > 20 : inked < 12, qPrintable(QStringLiteral("%1 pixels inked").arg(inked)));
}

QTEST_MAIN(tst_PlotFilterPens)
#include "tst_plotfilterpens.moc"
