// Reader rows: the command stream that HP-GL syntax as real files write it gives.

#include "PlotTestSupport.h"

#include "plotviewer/reader/PlotReader.h"

#include <QTest>

#include <bit>
#include <cstdint>

using namespace plotviewer::hpgl;

Q_DECLARE_METATYPE(PlotReader::Weighing)

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

// One line per command: "PA 10,20", "LB:text", "PE d100,-50 u=1000,2000 pen2", "<event value>",
// and for cursor and raster sequences "<g7 +6 [6 bytes]>" (graphics number, signed value, payload).
QString describe(const QByteArray &bytes)
{
    PlotReader reader(plottest::view(bytes));
    PlotCommand command;
    QStringList lines;
    while (reader.next(command)) {
        if (command.kind == CommandKind::PclGraphics) {
            QString line = QStringLiteral("<g%1 %2%3")
                               .arg(static_cast<int>(command.graphics))
                               .arg(command.relative && command.value >= 0 ? QStringLiteral("+") : QString())
                               .arg(number(command.value));
            if (!command.text.empty())
                line += QStringLiteral(" [%1 bytes%2]")
                            .arg(command.text.size())
                            .arg(command.unterminated ? QStringLiteral(", cut") : QString());
            lines << line + QLatin1Char('>');
            continue;
        }
        if (command.kind != CommandKind::Instruction) {
            lines << QStringLiteral("<%1 %2>").arg(static_cast<int>(command.kind)).arg(number(command.value));
            continue;
        }
        QString line = QString::fromStdString(mnemonicText(command.name));
        if (!command.known)
            line += QLatin1Char('?');
        if (command.name == "LB"_mn || command.name == "CO"_mn || command.name == "DT"_mn
            || command.name == "SM"_mn)
            line += QLatin1Char(':')
                + QString::fromLatin1(command.text.data(), qsizetype(command.text.size()));
        QStringList values;
        for (double v : command.numbers)
            values << number(v);
        for (const EncodedStep &step : command.encoded) {
            if (step.kind == EncodedStep::Kind::SelectPen)
                values << QStringLiteral("pen") + number(step.x);
            else
                values << QString(step.penUp ? QLatin1Char('u') : QLatin1Char('d'))
                        + (step.absolute ? QStringLiteral("=") : QString()) + number(step.x)
                        + QLatin1Char(',') + number(step.y);
        }
        if (!values.isEmpty())
            line += QLatin1Char(' ') + values.join(QLatin1Char(command.encoded.empty() ? ',' : ' '));
        lines << line;
    }
    return lines.join(QLatin1Char('|'));
}

// 8-bit PE digits of `value`: base 64, least significant first, sign in bit 0.
QByteArray encoded(int value)
{
    unsigned n = value < 0 ? unsigned(-value) * 2 + 1 : unsigned(value) * 2;
    QByteArray digits;
    for (; n >= 64; n >>= 6)
        digits += char(63 + (n & 63));
    return digits + char(191 + n);
}

} // namespace

class tst_PlotReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void syntax_data();
    void syntax();
    void exactNumbers_data();
    void exactNumbers();
    void encodedPolyline_data();
    void encodedPolyline();
    void wrappers_data();
    void wrappers();
    void longListsArriveInChunks();
    void encodedStepsArriveInChunks();
    void tally_data();
    void tally();
};

void tst_PlotReader::syntax_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("comma, space and sign separators")
        << QByteArray("PA10,20 30  40-50+60;") << QStringLiteral("PA 10,20,30,40,-50,60");
    QTest::newRow("lower case, no semicolons")
        << QByteArray("pupa0,0pd100,100") << QStringLiteral("PU|PA 0,0|PD 100,100");
    QTest::newRow("CR/LF between commands")
        << QByteArray("PU\r\nPD100,200\nPU\n") << QStringLiteral("PU|PD 100,200|PU");
    QTest::newRow("space after mnemonic")
        << QByteArray("PS 11440 7700\nRO 90") << QStringLiteral("PS 11440,7700|RO 90");
    QTest::newRow("empty fields and leading comma")
        << QByteArray("PA,10,,20;PW.1;;") << QStringLiteral("PA 10,20|PW 0.1");
    QTest::newRow("number forms") << QByteArray("PA.5,5.,-.5,1.5.5,1799.999756")
                                  << QStringLiteral("PA 0.5,5,-0.5,1.5,0.5,1799.999756");
    QTest::newRow("tolerated exponents")
        << QByteArray("PA1e2,25E-1,3E+1;EA5,5") << QStringLiteral("PA 100,2.5,30|EA 5,5");
    QTest::newRow("trailing Ctrl-Z and NUL") << QByteArray("PD1,1;\x1a\0\0", 9) << QStringLiteral("PD 1,1");
    QTest::newRow("unknown mnemonic then known")
        << QByteArray("ZZ1,2;PA3,4") << QStringLiteral("ZZ? 1,2|PA 3,4");
    QTest::newRow("lone letter is garbage") << QByteArray("P1;PA3;x") << QStringLiteral("PA 3");
    QTest::newRow("vendor prefix") << QByteArray("!PG;") << QStringLiteral("PG");
    QTest::newRow("label with ETX, stray semicolon")
        << QByteArray("LBhello\x03;PU") << QStringLiteral("LB:hello|PU");
    QTest::newRow("label keeps CR LF and semicolons")
        << QByteArray("LBa;b\r\nc\x03") << QStringLiteral("LB:a;b\r\nc");
    QTest::newRow("DT not printed") << QByteArray("DT#,1;LBab#PU") << QStringLiteral("DT:#|LB:ab|PU");
    QTest::newRow("DT printed") << QByteArray("DT#,0;LBab#PU") << QStringLiteral("DT:#|LB:ab#|PU");
    QTest::newRow("DT; restores ETX") << QByteArray("DT#;DT;LBa#b\x03") << QStringLiteral("DT:#|DT:|LB:a#b");
    QTest::newRow("IN restores ETX") << QByteArray("DT*;IN;LBa*\x03") << QStringLiteral("DT:*|IN|LB:a*");
    QTest::newRow("CO quoted") << QByteArray("CO\"a;PD1,1\"PU;") << QStringLiteral("CO:a;PD1,1|PU");
    QTest::newRow("CO unquoted") << QByteArray("COplain text;PU") << QStringLiteral("CO:plain text|PU");
    QTest::newRow("SM on and off") << QByteArray("SM*;PA1,2;SM;") << QStringLiteral("SM:*|PA 1,2|SM:");
    QTest::newRow("BP skips its quoted name")
        << QByteArray("BP1,\"my plot\",2,1;IN") << QStringLiteral("BP 1,2,1|IN");
    QTest::newRow("unterminated label keeps its first line")
        << QByteArray("LBhello\nPA1,2;") << QStringLiteral("LB:hello|PA 1,2");
    QTest::newRow("label stops at ESC") << QByteArray("LBab\x1b%0BPU") << QStringLiteral("LB:ab|<1 0>|PU");
    QTest::newRow("label stops at a reset") << QByteArray(
        "LBab\x1b"
        "EPU") << QStringLiteral("LB:ab|<2 0>|<%1 0>").arg(static_cast<int>(CommandKind::PclText));
    QTest::newRow("other escapes are label text")
        << QByteArray("DT!;LBa\x1b\\b\x1b(8Uc!PU") << QStringLiteral("DT:!|LB:a\x1b\\b\x1b(8Uc|PU");
}

void tst_PlotReader::syntax()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(describe(input), expected);
}

void tst_PlotReader::exactNumbers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<double>("expected");

    QTest::newRow("15 digits") << QByteArray("PA999999999999999") << 999999999999999.0;
    QTest::newRow("16 digits round once") << QByteArray("PA9999999999999999,") << 1e16;
    QTest::newRow("20 digits") << QByteArray("PA12345678901234567890;") << 12345678901234567890.0;
    QTest::newRow("leading zeros are not significant") << QByteArray("PA0000000000000000000000012") << 12.0;
    QTest::newRow("negative zero") << QByteArray("PA-0") << -0.0;
    QTest::newRow("plus sign") << QByteArray("PA+42 ") << 42.0;
    QTest::newRow("integer then fraction") << QByteArray("PA12.25") << 12.25;
    QTest::newRow("integer then exponent") << QByteArray("PA12E2") << 1200.0;
    QTest::newRow("E at the end is not an exponent") << QByteArray("PA12E") << 12.0;
    QTest::newRow("decimal fraction rounds once") << QByteArray("PA0.1") << 0.1;
}

void tst_PlotReader::exactNumbers()
{
    QFETCH(QByteArray, input);
    QFETCH(double, expected);
    PlotReader reader(plottest::view(input));
    PlotCommand command;
    QVERIFY(reader.next(command));
    QCOMPARE(command.numbers.size(), std::size_t(1));
    // Bit for bit: QCOMPARE on doubles forgives the last digits and the sign of zero.
    QCOMPARE(std::bit_cast<std::uint64_t>(command.numbers.front()), std::bit_cast<std::uint64_t>(expected));
}

void tst_PlotReader::encodedPolyline_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("7-bit relative move") << QByteArray("PE7GeDb;") << QStringLiteral("PE d100,-50");
    QTest::newRow("7-bit flags and pen select")
        << QByteArray("PE7<=O]`?\\bGeDb:c_Wq;") << QStringLiteral("PE u=1000,2000 d100,-50 pen2 d0,300");
    QTest::newRow("7-bit fraction bits") << QByteArray("PE7>cEbt;") << QStringLiteral("PE d12.75,-2.5");
    QTest::newRow("8-bit relative move") << QByteArray("PEG\xc2\x64\xc0;") << QStringLiteral("PE d100,-50");
    QTest::newRow("8-bit single-digit zeros") << QByteArray("PE<=\xbf\xbf;") << QStringLiteral("PE u=0,0");
    QTest::newRow("8-bit flag with high bit")
        << QByteArray("PE\xba\xc3\xbf\xbf;") << QStringLiteral("PE pen2 d0,0");
    QTest::newRow("ignored bytes") << QByteArray("PE7G e\x85\r\nDb;") << QStringLiteral("PE d100,-50");
    const QString toPcl = QStringLiteral("<%1 0>").arg(static_cast<int>(CommandKind::EnterPcl));
    QTest::newRow("ESC ends the data")
        << QByteArray("PE7GeDb\x1b%0APU")
        << QStringLiteral("PE d100,-50|%1|<%2 0>").arg(toPcl).arg(static_cast<int>(CommandKind::PclText));
    QTest::newRow("truncated at end of data") << QByteArray("PE7GeDbGe") << QStringLiteral("PE d100,-50");
    QTest::newRow("letters before the semicolon are 8-bit data")
        << QByteArray("PE<=\xbf\xbfPU;PA") << QStringLiteral("PE u=0,0|PA");
    QTest::newRow("pen select between x and y")
        << QByteArray("PE\xd3:\xc1\xca;") << QStringLiteral("PE pen1 d10,-5");
    QTest::newRow("flag between x and y applies to the pair")
        << QByteArray("PE\xc5<\xc2;") << QStringLiteral("PE u3,-1");
    QTest::newRow("negative fraction bits scale up")
        << QByteArray("PE>\xc4\xc5\xc2;") << QStringLiteral("PE d12,-4");
    QTest::newRow("fraction bits clamped to 26")
        << QByteArray("PE>O\xc0\xc1\xbf;") << QStringLiteral("PE d1.490116119e-08,0");
    QTest::newRow("digits beyond 60 bits are ignored")
        << QByteArray("PEA?????????\xfe\xbf;") << QStringLiteral("PE d1,0");
    QTest::newRow("switch to 7-bit within the data") << QByteArray("PE\xc5\xc2"
                                                                   "7GeDb;")
                                                     << QStringLiteral("PE d3,-1 d100,-50");
    QTest::newRow("terminator with the high bit")
        << QByteArray("PE\xc5\xc2\xbbPA1,1") << QStringLiteral("PE d3,-1|PA 1,1");
    QTest::newRow("CSI byte ends the data")
        << QByteArray("PE\xc5\xc2\x9bPA1,1") << QStringLiteral("PE d3,-1|PA 1,1");
    QTest::newRow("x without y is dropped at the terminator")
        << QByteArray("PE\xc5\xc2\xc5;PA1,1") << QStringLiteral("PE d3,-1|PA 1,1");
    QTest::newRow("x without y is dropped at ESC")
        << QByteArray("PE\xc5\xc2\xc5\x1b%0A") << QStringLiteral("PE d3,-1|") + toPcl;
}

void tst_PlotReader::encodedPolyline()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(describe(input), expected);
}

void tst_PlotReader::wrappers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");

    const QString enter = QString::number(static_cast<int>(CommandKind::EnterHpgl));
    const QString reset = QString::number(static_cast<int>(CommandKind::PclReset));
    const QString job = QString::number(static_cast<int>(CommandKind::JobBoundary));
    const QString pageSize = QString::number(static_cast<int>(CommandKind::PageSize));
    const QString frameWidth = QString::number(static_cast<int>(CommandKind::PictureFrameWidth));
    const QString frameHeight = QString::number(static_cast<int>(CommandKind::PictureFrameHeight));
    const QString toPcl = QString::number(static_cast<int>(CommandKind::EnterPcl));
    const QString eject = QString::number(static_cast<int>(CommandKind::PageEject));
    const QString text = QString::number(static_cast<int>(CommandKind::PclText));

    QTest::newRow("PJL enter language") << QByteArray(
        "\x1b%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE = HPGL2\r\nIN;PD1,1;\x1b%-12345X@PJL EOJ\r\n")
                                        << QStringLiteral("<%1 0>|IN|PD 1,1|<%1 0>").arg(job);
    QTest::newRow("PCL with ESC%1B")
        << QByteArray("\x1b"
                      "E\x1b&l26A\x1b*c7200x5040Y\x1b%1BIN;PD1,1;\x1b%1A\x1b"
                      "E")
        << QStringLiteral("<%1 0>|<%2 26>|<%3 7200>|<%4 5040>|<%5 1>|IN|PD 1,1|<%6 1>|<%1 0>")
               .arg(reset, pageSize, frameWidth, frameHeight, enter, toPcl);
    QTest::newRow("raster data read by count")
        << QByteArray("\x1b"
                      "E\x1b*r1A\x1b*b6WPD9,9\x1b!\x1b*rC\x1b%0BPD1,1;")
        << QStringLiteral("<%1 0>|<g0 1>|<g7 6 [6 bytes]>|<%3 0>|<g2 0>|<%2 0>|PD 1,1")
               .arg(reset, enter, text);
    QTest::newRow("payload longer than the data") << QByteArray(
        "\x1b"
        "E\x1b*b999999999WPD1,1;") << QStringLiteral("<%1 0>|<g7 999999999 [6 bytes, cut]>").arg(reset);
    QTest::newRow("device control at start and end")
        << QByteArray("\x1b.(;\x1b.I81;;17:\x1b.N;19:IN;PD1,1;\x1b.)") << QStringLiteral("IN|PD 1,1");
    QTest::newRow("other escapes inside HP-GL are skipped")
        << QByteArray("PD1,1;\x1b(8U\x1b&l1OPD2,2;") << QStringLiteral("PD 1,1|PD 2,2");
    QTest::newRow("paper source between plots ejects")
        << QByteArray("\x1b%0BPD1,1;\x1b%1A\x1b&l0H\x1b%0BPD2,2;")
        << QStringLiteral("<%1 0>|PD 1,1|<%3 1>|<%2 0>|<%1 0>|PD 2,2").arg(enter, eject, toPcl);
    QTest::newRow("form feed in PCL text ejects")
        << QByteArray("\x1b"
                      "E\x1b%1BPD1,1;\x1b%1Atext\fmore\x1b%1BPD2,2;")
        << QStringLiteral("<%1 0>|<%2 1>|PD 1,1|<%4 1>|<%5 0>|<%3 0>|<%5 0>|<%2 1>|PD 2,2")
               .arg(reset, enter, eject, toPcl, text);
    QTest::newRow("ejects with nothing drawn between are one")
        << QByteArray("\x1b%0BPD1,1;\x1b%0A\f\f\x1b&l0H\x1b%0BPD2,2;")
        << QStringLiteral("<%1 0>|PD 1,1|<%3 0>|<%2 0>|<%1 0>|PD 2,2").arg(enter, eject, toPcl);
    QTest::newRow("form feed inside HP-GL is no eject")
        << QByteArray("PD1,1;\fPD2,2;") << QStringLiteral("PD 1,1|PD 2,2");
    QTest::newRow("form feed inside raster data is no eject")
        << QByteArray("\x1b"
                      "E\x1b*b2W\f\f\x1b%0BPD1,1;")
        << QStringLiteral("<%1 0>|<g7 2 [2 bytes]>|<%2 0>|PD 1,1").arg(reset, enter);
    const QString margin = QString::number(static_cast<int>(CommandKind::TopMargin));
    QByteArray rows = "\x1b"
                      "E\x1b*b";
    QStringList rowEvents { QStringLiteral("<%1 0>").arg(reset) };
    for (int i = 0; i < 20; ++i) {
        rows += "1w\xff";
        rowEvents << QStringLiteral("<g7 1 [1 bytes]>");
    }
    QTest::newRow("a combined sequence of many parameters")
        << rows + "0M" << (rowEvents << "<g6 0>").join('|');
    QTest::newRow("a combined sequence ends at a byte that fits no rule")
        << QByteArray("\x1b"
                      "E\x1b*b1w\xff"
                      "2!\x1b%0BPD1,1;")
        << QStringLiteral("<%1 0>|<g7 1 [1 bytes]>|<%3 0>|<%2 0>|PD 1,1").arg(reset, enter, text);
    QTest::newRow("PCL text once for each stretch")
        << QByteArray("\x1b"
                      "E\x1b&l0EHello\r\n\x1b&l1Eworld\f")
        << QStringLiteral("<%1 0>|<%2 0>|<%3 0>|<%2 1>|<%3 0>").arg(reset, margin, text);
    QTest::newRow("control characters are no text") << QByteArray("\x1b"
                                                                  "E\r\n \t\x1b&l2E")
                                                    << QStringLiteral("<%1 0>|<%2 2>").arg(reset, margin);
    QTest::newRow("unsupported language skipped to next job")
        << QByteArray("\x1b%-12345X@PJL ENTER LANGUAGE=POSTSCRIPT\n%!PS PD1,1\n\x1b%-12345XIN;")
        << QStringLiteral("<%1 0>|<%1 0>|IN").arg(job);
}

void tst_PlotReader::wrappers()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(describe(input), expected);
}

void tst_PlotReader::longListsArriveInChunks()
{
    QByteArray input("PD");
    const int pairs = int(PlotReader::chunkSize); // twice the chunk size in numbers
    for (int i = 0; i < pairs; ++i)
        input += QByteArray::number(i) + ',' + QByteArray::number(-i) + ',';
    input += "PU;";
    PlotReader reader(plottest::view(input));
    PlotCommand command;
    std::size_t numbers = 0;
    int chunks = 0;
    double last = 0;
    while (reader.next(command) && command.name == "PD"_mn) {
        QCOMPARE(command.continued, chunks > 0);
        QVERIFY(command.numbers.size() <= PlotReader::chunkSize);
        QVERIFY(command.numbers.size() % 2 == 0);
        numbers += command.numbers.size();
        if (!command.numbers.empty())
            last = command.numbers.back();
        ++chunks;
    }
    QVERIFY(chunks >= 2);
    QCOMPARE(numbers, std::size_t(2 * pairs));
    QCOMPARE(last, double(-(pairs - 1)));
    QCOMPARE(command.name, "PU"_mn);
}

void tst_PlotReader::encodedStepsArriveInChunks()
{
    // The first chunk fills up with a pen select between x and y while a pen-up flag waits: both
    // must reach the pair that completes in the next chunk.
    const int pairs = int(PlotReader::chunkSize) - 1;
    QByteArray input("PE");
    for (int i = 0; i < pairs; ++i)
        input += encoded(i) + encoded(-i);
    input += '<' + encoded(7) + ':' + encoded(3) + encoded(9) + encoded(1) + encoded(2) + ";PU;";
    PlotReader reader(plottest::view(input));
    PlotCommand command;
    std::vector<EncodedStep> steps;
    std::vector<std::size_t> chunkSizes;
    while (reader.next(command) && command.name == "PE"_mn) {
        QCOMPARE(command.continued, !chunkSizes.empty());
        QCOMPARE(command.more, chunkSizes.empty());
        chunkSizes.push_back(command.encoded.size());
        steps.insert(steps.end(), command.encoded.begin(), command.encoded.end());
    }
    QCOMPARE(command.name, "PU"_mn);
    QCOMPARE(chunkSizes, (std::vector<std::size_t> { PlotReader::chunkSize, 2 }));
    QCOMPARE(steps[pairs - 1].x, double(pairs - 1));
    QCOMPARE(steps[pairs - 1].y, double(1 - pairs));
    QCOMPARE(steps[pairs].kind, EncodedStep::Kind::SelectPen);
    QCOMPARE(steps[pairs].x, 3.0);
    const EncodedStep &waited = steps[pairs + 1];
    QCOMPARE(waited.kind, EncodedStep::Kind::Point);
    QVERIFY(waited.penUp);
    QCOMPARE(waited.x, 7.0);
    QCOMPARE(waited.y, 9.0);
    QVERIFY(!steps[pairs + 2].penUp);
    QCOMPARE(steps[pairs + 2].x, 1.0);
    QCOMPARE(steps[pairs + 2].y, 2.0);
}

void tst_PlotReader::tally_data()
{
    // What the reader counts as plot content and what not: "known unknown jobControl stray" bytes.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("tally");
    QTest::addColumn<PlotReader::Weighing>("weighing");
    const auto weighed = PlotReader::Weighing::On;
    QTest::newRow("instructions with their numbers") << QByteArray("PA10,20;PD;") << "11 0 0 0" << weighed;
    QTest::newRow("blanks count for neither")
        << QByteArray("  PA 1, 2;\r\n\0\0PU;\n", 18) << "11 0 0 0" << weighed;
    QTest::newRow("unknown instruction with its numbers") << QByteArray("ZZ5,5;PU;") << "3 6 0 0" << weighed;
    QTest::newRow("stray bytes between instructions") << QByteArray("PU;%%PD;") << "6 0 0 2" << weighed;
    QTest::newRow("a label's text counts for neither")
        << QByteArray("LBany words\x03PU;") << "6 0 0 0" << weighed;
    QTest::newRow("a comment's text counts for neither")
        << QByteArray("CO\"any words\"PU;") << "7 0 0 0" << weighed;
    QTest::newRow("a long list across chunks") << QByteArray("PA") + QByteArray("1,").repeated(8000) + "1;"
                                               << "16004 0 0 0" << weighed;
    QTest::newRow("PE data its steps explain") << QByteArray("PE7GeDb;") << "8 0 0 0" << weighed;
    QTest::newRow("PE data across chunks") << QByteArray("PE") + QByteArray("\xbf\xbf").repeated(7000) + ";"
                                           << "14003 0 0 0" << weighed;
    QTest::newRow("PE in a text, up to a semicolon")
        << QByteArray("PE the quick brown fox jumps;") << "2 0 0 27" << weighed;
    QTest::newRow("PE in a text with a 7 in it")
        << QByteArray("PE a 7 with many words here;") << "2 0 0 26" << weighed;
    QTest::newRow("PE running into the end of the data") << QByteArray("PE7GeDbGe") << "2 0 0 7" << weighed;
    QTest::newRow("escape sequences with their data") << QByteArray("\x1b"
                                                                    "E\x1b*b3W\x01\x02\x03")
                                                      << "0 0 10 0" << weighed;
    QTest::newRow("PCL text is stray") << QByteArray("\x1b"
                                                     "EHello world\x0c")
                                       << "0 0 2 10" << weighed;
    QTest::newRow("nothing weighed when reading to draw") << QByteArray("PU;%\x1b"
                                                                        "EHello")
                                                          << "0 0 0 0" << PlotReader::Weighing::Off;
    QTest::newRow("PJL lines") << QByteArray("\x1b%-12345X@PJL ENTER LANGUAGE=HPGL2\nIN;") << "3 0 35 0"
                               << weighed;
    QTest::newRow("malformed escape is stray") << QByteArray("PU;\x1b\x01PU;") << "6 0 0 1" << weighed;
}

void tst_PlotReader::tally()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, tally);
    QFETCH(PlotReader::Weighing, weighing);
    PlotReader reader(plottest::view(bytes), weighing);
    PlotCommand command;
    while (reader.next(command)) { }
    const ContentTally &counted = reader.tally();
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(counted.knownInstructions)
                 .arg(counted.unknownInstructions)
                 .arg(counted.jobControl)
                 .arg(counted.stray),
        tally);
}

QTEST_GUILESS_MAIN(tst_PlotReader)
#include "tst_plotreader.moc"
