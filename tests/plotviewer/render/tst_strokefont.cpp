// Reading Hershey ".jhf" stroke fonts.

#include "plotviewer/render/StrokeFont.h"

#include <QTest>

using namespace plotviewer;

namespace {

// A font from U+0020 to 'M' where only H and M have strokes; `override` replaces glyph records.
QByteArray smallFont(const QMap<char, QByteArray> &override = {})
{
    QByteArray font;
    for (char c = ' '; c <= 'M'; ++c) {
        if (override.contains(c))
            font += override[c];
        else if (c == 'H')
            font += "12345  6JZNFN[ RVFV[";
        else if (c == 'M')
            font += "12345  5JZLFL[XFX[";
        else
            font += "12345  1JZ";
        font += '\n';
    }
    return font;
}

} // namespace

class tst_StrokeFont : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalisesGlyphs();
    void recordsMayWrapLines();
    void malformed_data();
    void malformed();
    void installedFontCoversPrintableAscii();
};

void tst_StrokeFont::normalisesGlyphs()
{
    QString error;
    const std::optional<StrokeFont> font = StrokeFont::parse(smallFont(), &error);
    QVERIFY2(font, qPrintable(error));
    const StrokeFont::Glyph *h = font->glyph(U'H');
    QVERIFY(h);
    QCOMPARE(h->strokeCount(), std::size_t(2));
    // M's ink is 12 units wide: H's left stem at -4 sits 1/6 of a body in; its top is one cap height up.
    QCOMPARE(h->points.at(0).x, 0.5 - 4.0 / 12);
    QCOMPARE(h->points.at(0).y, 1.0);
    QCOMPARE(h->points.at(1).y, 0.0);
    QCOMPARE(h->strokeEnd(1), h->points.size());
    QVERIFY(font->glyph(U' ')->points.empty());
    QVERIFY(!font->glyph(U'Z'));
    QVERIFY(!font->glyph(U'\n'));
}

void tst_StrokeFont::recordsMayWrapLines()
{
    QString error;
    const std::optional<StrokeFont> wrapped
        = StrokeFont::parse(smallFont({ { 'H', "12345  6JZNFN[\n RVFV[" } }), &error);
    QVERIFY2(wrapped, qPrintable(error));
    QCOMPARE(wrapped->glyph(U'H')->points.size(), std::size_t(4));
}

void tst_StrokeFont::malformed_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("error");

    QTest::newRow("record cut short")
        << QByteArray("12345  9JZNFN[") << QStringLiteral("glyph 0 is cut short");
    QTest::newRow("header cut short") << QByteArray("1234") << QStringLiteral("glyph 0 is cut short");
    QTest::newRow("count not a number")
        << smallFont({ { 'A', "12345 x1JZ" } }) << QStringLiteral("glyph 33 has a bad vertex count \" x1\"");
    QTest::newRow("count zero") << QByteArray("12345  0")
                                << QStringLiteral("glyph 0 has a bad vertex count \"  0\"");
    QTest::newRow("count absurd") << QByteArray("12345999JZ")
                                  << QStringLiteral("glyph 0 has a bad vertex count \"999\"");
    QTest::newRow("control byte in a glyph")
        << smallFont({ { 'B', QByteArray("12345  2JZN\x01") } })
        << QStringLiteral("glyph 34 holds a byte outside the font alphabet");
    QTest::newRow("no capital H") << smallFont({ { 'H', "12345  1JZ" } })
                                  << QStringLiteral(
                                         "the font has no usable capital H and M to take its size from");
    QTest::newRow("too few glyphs") << QByteArray(
        "12345  1JZ\n") << QStringLiteral("the font has no usable capital H and M to take its size from");
}

void tst_StrokeFont::malformed()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, error);
    QString reported;
    QVERIFY(!StrokeFont::parse(data, &reported));
    QCOMPARE(reported, error);
}

void tst_StrokeFont::installedFontCoversPrintableAscii()
{
    const StrokeFont *font = StrokeFont::systemDefault();
    if (!font)
        QSKIP("the Hershey fonts (hershey-fonts-data) are not installed");
    for (char32_t c = U'!'; c <= U'~'; ++c) {
        QVERIFY2(font->glyph(c) && !font->glyph(c)->points.empty(), qPrintable(QString::number(int(c))));
    }
    // Capitals stand on the baseline and reach the cap height.
    const StrokeFont::Glyph *e = font->glyph(U'E');
    const auto [low, high]
        = std::minmax_element(e->points.begin(), e->points.end(), [](Point a, Point b) { return a.y < b.y; });
    QCOMPARE(low->y, 0.0);
    QCOMPARE(high->y, 1.0);
}

QTEST_APPLESS_MAIN(tst_StrokeFont)
#include "tst_strokefont.moc"
