// The sample plots shipped in samples/: each opens cleanly on its pages and draws what it shows.

#include "PlotTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace plotviewer;

namespace {

QByteArray sampleBytes(const QString &name)
{
    QFile file(QStringLiteral(TARNWICK_SAMPLES_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool contains(const Rect &outer, const Rect &inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.bottom >= outer.bottom
        && inner.top <= outer.top;
}

} // namespace

class tst_Samples : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnItsPages_data();
    void opensOnItsPages();
    void encodedDrawsOnlyItsCurves();
};

void tst_Samples::opensOnItsPages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::size_t>("pages");
    const QStringList names
        = QDir(QStringLiteral(TARNWICK_SAMPLES_DIR)).entryList({ QStringLiteral("*.plt") });
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name << std::size_t(name == u"pages.plt" ? 3 : 1);
}

void tst_Samples::opensOnItsPages()
{
    QFETCH(QString, name);
    QFETCH(std::size_t, pages);
    const InterpretResult result = plottest::interpret(sampleBytes(name));
    QVERIFY2(result.error.empty(), result.error.c_str());
    for (const std::string &warning : result.plot.warnings)
        QFAIL(warning.c_str());
    QCOMPARE(result.plot.pages.size(), pages);
    for (const Page &page : result.plot.pages)
        QVERIFY(contains(page.frame, page.inkBounds));
}

void tst_Samples::encodedDrawsOnlyItsCurves()
{
    // The rose from its tip, then the spiral from the centre; the pen goes up to the caption.
    const auto strokes = plottest::strokes(plottest::interpret(sampleBytes(QStringLiteral("encoded.plt"))));
    QCOMPARE(strokes.size(), std::size_t(2));
    QCOMPARE(plottest::pointText(strokes[0].front()), QStringLiteral("9540,4200"));
    QCOMPARE(plottest::pointText(strokes[1].front()), QStringLiteral("5940,4200"));
}

QTEST_GUILESS_MAIN(tst_Samples)
#include "tst_samples.moc"
