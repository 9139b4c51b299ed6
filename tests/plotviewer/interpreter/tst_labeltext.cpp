// What label bytes read as: character sets (CS/CA, SD/AD symbol sets, SO/SI, SS/SA), the label
// terminator, and the user-defined characters of DL and UC.

#include "PlotTestSupport.h"

#include <QTest>

using namespace plotviewer;
using plottest::interpret;

namespace {

// The characters of every label on the first page, in drawing order.
QString labelText(const InterpretResult &result)
{
    QString text;
    if (result.plot.pages.empty())
        return text;
    for (const TextRun &run : result.plot.pages.front().texts)
        text += QString::fromUcs4(run.text.data(), qsizetype(run.text.size()));
    return text;
}

QString warnings(const InterpretResult &result)
{
    QStringList lines;
    for (const std::string &warning : result.plot.warnings)
        lines << QString::fromStdString(warning);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class tst_LabelText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data();
    void text();
    void unusualSetsWarn_data();
    void unusualSetsWarn();
    void userCharacters_data();
    void userCharacters();
};

void tst_LabelText::text_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<QString>("expected");

    // Terminators
    QTest::newRow("DT control character in mode 0 is not printed")
        << QByteArray("DT\x02,0;SP1;LBab\x02PU;") << QStringLiteral("ab");
    QTest::newRow("DT printing character in mode 0 is printed")
        << QByteArray("DT#,0;SP1;LBab#PU;") << QStringLiteral("ab#");
    QTest::newRow("DT mode 1 is not printed") << QByteArray("DT#,1;SP1;LBab#PU;") << QStringLiteral("ab");
    QTest::newRow("DT; restores ETX") << QByteArray("DT#;DT;SP1;LBa#b\x03") << QStringLiteral("a#b");

    // HP-GL/1 character sets
    QTest::newRow("CS0 is ASCII") << QByteArray("CS0;SP1;LB#$@[\\]^`{|}~\x03")
                                  << QStringLiteral("#$@[\\]^`{|}~");
    QTest::newRow("CS33 German") << QByteArray("CS33;SP1;LB@[\\]{|}~\x03") << QStringLiteral("§ÄÖÜäöüß");
    QTest::newRow("CS34 French") << QByteArray("CS34;SP1;LB#@[\\]`{|}~\x03") << QStringLiteral("£à°ç§µéùè¨");
    QTest::newRow("CS30 Swedish") << QByteArray("CS30;SP1;LB$[\\]{|}\x03") << QStringLiteral("¤ÄÖÅäöå");
    QTest::newRow("CS31 Swedish names") << QByteArray("CS31;SP1;LB@^`~\x03") << QStringLiteral("ÉÜéü");
    QTest::newRow("CS32 Norwegian 1") << QByteArray("CS32;SP1;LB#[\\]{|}\x03") << QStringLiteral("#ÆØÅæøå");
    QTest::newRow("CS39 Norwegian 2") << QByteArray("CS39;SP1;LB#~\x03") << QStringLiteral("§|");
    QTest::newRow("CS35 United Kingdom") << QByteArray("CS35;SP1;LB#5\x03") << QStringLiteral("£5");
    QTest::newRow("CS36 Italian") << QByteArray("CS36;SP1;LB]`{|}~\x03") << QStringLiteral("éùàòèì");
    QTest::newRow("CS37 Spanish") << QByteArray("CS37;SP1;LB[\\]{|}~\x03") << QStringLiteral("¡Ñ¿°ñç~");
    QTest::newRow("CS38 Portuguese") << QByteArray("CS38;SP1;LB[\\]{|}~\x03") << QStringLiteral("ÃÇÕãçõ°");
    QTest::newRow("CS6 JIS ASCII") << QByteArray("CS6;SP1;LB\\100\x03") << QStringLiteral("¥100");
    QTest::newRow("CS9 ISO IRV") << QByteArray("CS9;SP1;LB$5\x03") << QStringLiteral("¤5");
    QTest::newRow("CS7 Roman-8 extension in 7 bits")
        << QByteArray("CS7;SP1;LB3 ~\x03") << QStringLiteral("° ±");
    QTest::newRow("CS5 drafting and mathematical symbols")
        << QByteArray("CS5;SP1;LB5A+Cip\x03") << QStringLiteral("5□+△≤±");
    QTest::newRow("CS8 Katakana") << QByteArray("CS8;SP1;LB1\x03") << QStringLiteral("ｱ");
    QTest::newRow("CS8 Katakana from 0x21") << QByteArray("CS8;SP1;LB!\x03") << QStringLiteral("｡");
    QTest::newRow("CS8 Katakana up to 0x5F") << QByteArray("CS8;SP1;LB_\x03") << QStringLiteral("ﾟ");
    QTest::newRow("CS8 nothing from 0x60") << QByteArray("CS8;SP1;LB_`\x03") << QStringLiteral("ﾟ ");
    QTest::newRow("bytes above 127 stay Roman-8 under a national set")
        << QByteArray("CS33;SP1;LB[\xb3\x03") << QStringLiteral("Ä°");
    QTest::newRow("unknown CS keeps the set in use")
        << QByteArray("CS33;CS99;SP1;LB[\x03") << QStringLiteral("Ä");
    QTest::newRow("IN goes back to ASCII") << QByteArray("CS33;IN;SP1;LB[\x03") << QStringLiteral("[");
    QTest::newRow("DF goes back to ASCII") << QByteArray("CA33;SA;DF;SP1;LB[\x03") << QStringLiteral("[");
    QTest::newRow("CS without a number is ASCII") << QByteArray("CS33;CS;SP1;LB[\x03") << QStringLiteral("[");

    // Standard and alternate sets
    QTest::newRow("SO shifts to the alternate set and SI back")
        << QByteArray("CS0;CA33;SP1;LB[\x0e[\x0f[\x03") << QStringLiteral("[Ä[");
    QTest::newRow("SA selects the alternate set") << QByteArray("CA34;SA;SP1;LB#\x03") << QStringLiteral("£");
    QTest::newRow("SS selects the standard set again")
        << QByteArray("CA34;SA;SS;SP1;LB#\x03") << QStringLiteral("#");
    QTest::newRow("SO state carries to the next label")
        << QByteArray("CA33;SP1;LB[\x0e\x03LB[\x03") << QStringLiteral("[Ä");
    QTest::newRow("SM symbols use the set in use")
        << QByteArray("CS33;SP1;SM[;PA100,100;") << QStringLiteral("Ä");

    // HP-GL/2 symbol sets
    QTest::newRow("default symbol set is Roman-8")
        << QByteArray("SP1;LB\xb3\xd2\x03") << QStringLiteral("°Ø");
    QTest::newRow("SD German") << QByteArray("SD1,39;SP1;LB[~\x03") << QStringLiteral("Äß");
    QTest::newRow("SD ISO Latin-1") << QByteArray("SD1,14;SP1;LB\xe9\xb0\x03") << QStringLiteral("é°");
    QTest::newRow("SD Windows Latin-1") << QByteArray("SD1,629;SP1;LB\x80\x93\x03") << QStringLiteral("€“");
    QTest::newRow("SD PC-8") << QByteArray("SD1,341;SP1;LB\x81\x9b\xf8\x03") << QStringLiteral("ü¢°");
    QTest::newRow("SD PC-850") << QByteArray("SD1,405;SP1;LB\x81\x9b\x03") << QStringLiteral("üø");
    QTest::newRow("AD set shifted in by SO") << QByteArray("AD1,38;SP1;LB#\x0e#\x03") << QStringLiteral("#£");
    QTest::newRow("SD; restores Roman-8") << QByteArray("SD1,14;SD;SP1;LB\xb3\x03") << QStringLiteral("°");
}

void tst_LabelText::text()
{
    QFETCH(QByteArray, plot);
    QFETCH(QString, expected);
    QCOMPARE(labelText(interpret(plot)), expected);
}

void tst_LabelText::unusualSetsWarn_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<QString>("warning");

    QTest::newRow("a set with no table here")
        << QByteArray("CS2;SP1;LBa\x03") << QStringLiteral("drawn as ASCII");
    QTest::newRow("a set no plotter has") << QByteArray("CA12;SP1;LBa\x03") << QStringLiteral("unknown");
    QTest::newRow("DL with an odd count of coordinates")
        << QByteArray("DL97,0,0,10;CS-1;SP1;LBa\x03") << QStringLiteral("odd count");
    QTest::newRow("DL beyond the character grid")
        << QByteArray("DL97,0,0,200,0;CS-1;SP1;LBa\x03") << QStringLiteral("outside the character grid");
    QTest::newRow("DL numbered beyond 255")
        << QByteArray("DL300,0,0,10,10;CS-1;SP1;LBa\x03") << QStringLiteral("outside 0 to 255");
    QTest::newRow("DL with too many points")
        << "DL97" + QByteArray(",1,1").repeated(3000) + ";CS-1;SP1;LBa\x03" << QStringLiteral("more than");
    QTest::newRow("DL longer than the reader's chunks")
        << "DL97" + QByteArray(",1,1").repeated(5000) + ";CS-1;SP1;LBa\x03" << QStringLiteral("more than");
    QTest::newRow("UC with too many moves")
        << "UC99" + QByteArray(",1,1").repeated(5000) + ";SP1;LBa\x03" << QStringLiteral("more than");
    QTest::newRow("UC beyond its flags")
        << QByteArray("UC0,4,200,1;SP1;LBa\x03") << QStringLiteral("outside ±128");
    QTest::newRow("UC with an odd count of increments")
        << QByteArray("UC0,4,99,1;SP1;LBa\x03") << QStringLiteral("odd count");
}

void tst_LabelText::unusualSetsWarn()
{
    QFETCH(QByteArray, plot);
    QFETCH(QString, warning);
    const InterpretResult result = interpret(plot);
    QCOMPARE(labelText(result), QStringLiteral("a"));
    QVERIFY2(warnings(result).contains(warning), qPrintable(warnings(result)));
}

void tst_LabelText::userCharacters_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<QString>("strokes"); // " | " between strokes
    QTest::addColumn<QString>("text");

    // A body of 320 by 320 units at (1000,1000), one cell 480 units on: DL's 32-unit grid makes
    // ten units a step, UC's grid 80 across and 40 up.
    const QByteArray setUp("SP1;SI0.8,0.8;PA1000,1000;");
    const QByteArray diagonal("DL65,0,0,32,32;");
    QTest::newRow("a downloaded character drawn in its body")
        << diagonal + "CS-1;" + setUp + "LBA\x03" << QStringLiteral("1000,1000 1320,1320") << QString();
    QTest::newRow("the pen-up flag starts a new stroke")
        << "DL65,0,0,0,32,-128,32,0,32,32;CS-1;" + setUp + "LBA\x03"
        << QStringLiteral("1000,1000 1000,1320 | 1320,1000 1320,1320") << QString();
    QTest::newRow("a one-point character is a dot")
        << "DL65,16,0;CS-1;" + setUp + "LBA\x03" << QStringLiteral("1160,1000") << QString();
    QTest::newRow("each character in its own cell")
        << diagonal + "CS-1;" + setUp + "LBAA\x03"
        << QStringLiteral("1000,1000 1320,1320 | 1480,1000 1800,1320") << QString();
    QTest::newRow("ordinary characters around it stay text")
        << diagonal + "CS-1;" + setUp + "LBBAB\x03" << QStringLiteral("1480,1000 1800,1320")
        << QStringLiteral("BB");
    QTest::newRow("mirrored by a negative width") << diagonal + "CS-1;" + setUp + "SI-0.8,0.8;LBA\x03"
                                                  << QStringLiteral("1000,1000 680,1320") << QString();
    QTest::newRow("slanted") << diagonal + "CS-1;" + setUp + "SL1;LBA\x03"
                             << QStringLiteral("1000,1000 1640,1320") << QString();
    QTest::newRow("turned by the label direction")
        << diagonal + "CS-1;" + setUp + "DI0,1;LBA\x03" << QStringLiteral("1000,1000 680,1320") << QString();
    QTest::newRow("shifted in as the alternate set") << diagonal + "CA-1;" + setUp
            + "LBA\x0e"
              "A\x03" << QStringLiteral("1480,1000 1800,1320")
                                                     << QStringLiteral("A");
    QTest::newRow("the standard set keeps its own glyph")
        << diagonal + setUp + "LBA\x03" << QString() << QStringLiteral("A");
    QTest::newRow("an undefined downloaded character is its ASCII glyph")
        << diagonal + "CS-1;" + setUp + "LBB\x03" << QString() << QStringLiteral("B");
    QTest::newRow("DL with a number alone clears that character")
        << diagonal + "DL65;CS-1;" + setUp + "LBA\x03" << QString() << QStringLiteral("A");
    QTest::newRow("DL alone clears every character")
        << diagonal + "DL66,0,0,1,1;DL;CS-1;" + setUp + "LBAB\x03" << QString() << QStringLiteral("AB");
    QTest::newRow("bad data keeps the character as it was")
        << diagonal + "DL65,0,0,32;CS-1;" + setUp + "LBA\x03" << QStringLiteral("1000,1000 1320,1320")
        << QString();

    // UC draws once at the pen, in increments; the pen then stands one cell on.
    QTest::newRow("UC strokes, and the pen moved on")
        << setUp + "UC0,4,99,4,0,-99,0,4,99,-4,0;PD;"
        << QStringLiteral("1000,1160 1320,1160 | 1320,1320 1000,1320 | 1480,1000") << QString();
    QTest::newRow("UC under a label direction")
        << setUp + "DI0,1;UC99,4,0;" << QStringLiteral("1000,1000 1000,1320") << QString();
}

void tst_LabelText::userCharacters()
{
    QFETCH(QByteArray, plot);
    QFETCH(QString, strokes);
    QFETCH(QString, text);
    const InterpretResult result = interpret(plot);
    QStringList paths;
    for (const std::vector<Point> &path : plottest::strokes(result))
        paths << plottest::pathText(path);
    QCOMPARE(paths.join(QStringLiteral(" | ")), strokes);
    QCOMPARE(labelText(result), text);
}

QTEST_APPLESS_MAIN(tst_LabelText)
#include "tst_labeltext.moc"
