// Whether a file is a plot: files of other kinds are refused, by their kind where it is known, and
// every real plot is kept, including those that start like one and go wrong later.

#include "CorpusFiles.h"
#include "OtherFiles.h"

#include "plotviewer/reader/PlotContentSurvey.h"
#include "plotviewer/reader/PlotFileCheck.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace plotviewer;

namespace {

QByteArray noise(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(17);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QString shareText(const PlotFileCheck::Verdict &verdict)
{
    return QStringLiteral("plot content %1, kind \"%2\"").arg(verdict.plotShare).arg(verdict.kind);
}

} // namespace

class tst_PlotFileCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void otherKindsAreRefused_data();
    void otherKindsAreRefused();
    void plotsAreKept_data();
    void plotsAreKept();
    void filesOfTheCorpusAndSamplesAreKept_data();
    void filesOfTheCorpusAndSamplesAreKept();
    void shareDecidesCloseToTheThreshold_data();
    void shareDecidesCloseToTheThreshold();
};

void tst_PlotFileCheck::shareDecidesCloseToTheThreshold_data()
{
    QTest::addColumn<int>("instructions"); // lines of drawing among a hundred, the rest words
    QTest::addColumn<bool>("plot");
    // Plot content just under half is no plot; just over half is one.
    QTest::newRow("40 of 100 lines drawing (0.48)") << 40 << false;
    QTest::newRow("45 of 100 lines drawing (0.52)") << 45 << true;
    QTest::newRow("10 of 100 lines drawing (0.27)") << 10 << false;
}

void tst_PlotFileCheck::shareDecidesCloseToTheThreshold()
{
    QFETCH(int, instructions);
    QFETCH(bool, plot);
    QByteArray bytes;
    for (int line = 0; line < 100; ++line)
        bytes += line < instructions ? "PD1000,2000;" : "a line of words.";
    const PlotFileCheck::Verdict verdict = PlotFileCheck::examine(bytes);
    QVERIFY2(verdict.plot == plot, qPrintable(shareText(verdict)));
    QVERIFY(std::abs(verdict.plotShare - hpgl::PlotContentSurvey::plotThreshold) < 0.25);
}

void tst_PlotFileCheck::otherKindsAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("kindWord");
    for (const test::OtherFile &file : test::otherFiles())
        QTest::newRow(file.name) << file.bytes << file.kindWord;
}

void tst_PlotFileCheck::otherKindsAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kindWord);
    const PlotFileCheck::Verdict verdict = PlotFileCheck::examine(bytes);
    QVERIFY2(!verdict.plot, qPrintable(shareText(verdict)));
    if (kindWord.isEmpty()) {
        QVERIFY2(verdict.kind.isEmpty(), qPrintable(verdict.kind));
        QVERIFY(verdict.plotShare < hpgl::PlotContentSurvey::plotThreshold);
    } else {
        QVERIFY2(verdict.kind.contains(kindWord, Qt::CaseInsensitive), qPrintable(verdict.kind));
        QVERIFY2(
            verdict.kind.startsWith(QLatin1String("a ")) || verdict.kind.startsWith(QLatin1String("an ")),
            qPrintable(verdict.kind));
    }
}

void tst_PlotFileCheck::plotsAreKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray drawing = "SP1;PA100,100;PD4000,100,4000,3000,100,3000,100,100;PU;";
    QTest::newRow("nothing at all, left to the interpreter to say") << QByteArray();
    QTest::newRow("only blanks and NULs") << QByteArray(4096, '\0') + "\r\n \t";
    QTest::newRow("drawing without IN") << drawing;
    QTest::newRow("a few unknown instructions")
        << "SP1;ZZ1;PA0,0;QQ;PD100,100,200,0;XY5,5;" + drawing + "MA1;" + drawing;
    QTest::newRow("vendor commands between instructions") << "!MC1;!JF0;" + drawing + "!PZ25;" + drawing;
    QTest::newRow("comments and labels in any words") << "CO\"drawn by a program whose words are no plot\";"
            + drawing + "LBa label, with words that could be anything at all\x03" + drawing;
    QTest::newRow("8-bit encoded polylines") << QByteArray("SP1;PE<=\xbf\xbfG\xc2\x64\xc0;PE;PU;");
    // Starts like a plot, whatever comes later: drawn up to the damage, as before.
    QTest::newRow("IN; then noise") << "IN;" + drawing + noise(100 * 1024);
    QTest::newRow("lower case in; then noise") << "in;" + drawing.toLower() + noise(4096);
    QTest::newRow("BP IN then noise") << "BPIN;" + drawing + noise(4096);
    QTest::newRow("PCL reset then noise") << "\x1b"
                                             "E\x1b%0B"
            + drawing + noise(4096);
    QTest::newRow("HP-GL/2 entry then noise") << "\x1b%1B" + drawing + noise(4096);
    QTest::newRow("PJL job then noise") << "\x1b%-12345X@PJL ENTER LANGUAGE=HPGL2\n" + drawing + noise(4096);
    QTest::newRow("NUL padding, then a plot") << QByteArray(128 * 1024, '\0') + "IN;" + drawing;
    QTest::newRow("plotter device control then noise") << "\x1b.(;\x1b.I81;;17:" + drawing + noise(4096);
}

void tst_PlotFileCheck::plotsAreKept()
{
    QFETCH(QByteArray, bytes);
    const PlotFileCheck::Verdict verdict = PlotFileCheck::examine(bytes);
    QVERIFY2(verdict.plot, qPrintable(shareText(verdict)));
}

void tst_PlotFileCheck::filesOfTheCorpusAndSamplesAreKept_data()
{
    QTest::addColumn<QString>("path");
    const QDir samples(qEnvironmentVariable("TARNWICK_SOURCE_DIR") + QStringLiteral("/samples"));
    for (const QString &name : samples.entryList({ QStringLiteral("*.plt") }, QDir::Files))
        QTest::newRow(qPrintable(QStringLiteral("sample ") + name)) << samples.filePath(name);
    const QDir corpus = test::corpusFolder();
    const QHash<QString, QString> expected = test::corpusExpectations(corpus);
    for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
        if (expected.value(name) != QLatin1String("error"))
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }
    if (!corpus.exists())
        QSKIP(qPrintable(QStringLiteral("no corpus at %1 (set TARNWICK_CORPUS_DIR)").arg(corpus.path())));
}

void tst_PlotFileCheck::filesOfTheCorpusAndSamplesAreKept()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const PlotFileCheck::Verdict verdict = PlotFileCheck::examine(file.readAll());
    QVERIFY2(verdict.plot, qPrintable(shareText(verdict)));
}

QTEST_GUILESS_MAIN(tst_PlotFileCheck)
#include "tst_plotfilecheck.moc"
