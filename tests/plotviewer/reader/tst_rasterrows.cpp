// Raster row decoding: hand-made rows for each compression mode, broken rows, and round trips of
// rows written by the test's own encoder.

#include "RasterEncoder.h"

#include "plotviewer/reader/RasterRowDecoder.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace plotviewer::hpgl;

namespace {

std::vector<std::uint8_t> bytes(const QByteArray &data)
{
    return { data.begin(), data.end() };
}

QByteArray text(const std::vector<std::uint8_t> &row)
{
    return QByteArray(reinterpret_cast<const char *>(row.data()), qsizetype(row.size()));
}

// Rows with runs, repeats and noise, like scanned line art.
QList<QByteArray> sampleRows(int count, int width, quint32 seed)
{
    QRandomGenerator random(seed);
    QList<QByteArray> rows;
    QByteArray row(width, '\0');
    for (int r = 0; r < count; ++r) {
        const int edits = int(random.bounded(6));
        for (int e = 0; e < edits; ++e) {
            const int at = int(random.bounded(width));
            const int length = std::min(width - at, int(random.bounded(1, 300)));
            const char value = random.bounded(3) == 0 ? char(random.bounded(256)) : char(0xff);
            for (int i = 0; i < length; ++i)
                row[at + i] = random.bounded(4) == 0 ? char(random.bounded(256)) : value;
        }
        if (r % 17 == 5)
            row.fill('\0');
        rows.append(row);
    }
    return rows;
}

} // namespace

class TestRasterRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void compressionNumbers_data();
    void compressionNumbers();
    void brokenRows_data();
    void brokenRows();
    void roundTrip_data();
    void roundTrip();
    void adaptiveBlock();
    void adaptiveBlockCutShort();
};

void TestRasterRows::decode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("seed");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray seed("\x11\x22\x33\x44\x55\x66", 6);
    QTest::newRow("unencoded replaces the seed")
        << 0 << seed << QByteArray("\xa0\xb0", 2) << 64 << QByteArray("\xa0\xb0", 2);
    QTest::newRow("unencoded past the limit is clipped")
        << 0 << QByteArray() << QByteArray("abcdef") << 4 << QByteArray("abcd");
    QTest::newRow("run length") << 1 << seed << QByteArray("\x02\xff\x00\x0f", 4) << 64
                                << QByteArray("\xff\xff\xff\x0f", 4);
    QTest::newRow("run length of 256")
        << 1 << QByteArray() << QByteArray("\xff\x01", 2) << 300 << QByteArray(256, '\x01');
    QTest::newRow("run length clipped")
        << 1 << QByteArray() << QByteArray("\xff\x01\x00\x02", 4) << 3 << QByteArray(3, '\x01');
    QTest::newRow("pack bits literal and run") << 2 << seed << QByteArray("\x01\xa1\xa2\xfd\x07", 5) << 64
                                               << QByteArray("\xa1\xa2\x07\x07\x07\x07", 6);
    QTest::newRow("pack bits no-op byte")
        << 2 << QByteArray() << QByteArray("\x80\x00\x09", 3) << 64 << QByteArray("\x09", 1);
    QTest::newRow("delta keeps the seed around changes")
        << 3 << seed << QByteArray("\x41\xaa\xbb\xcc\x00\xdd", 6) << 64
        << QByteArray("\x11\xaa\xbb\xcc\xdd\x66", 6);
    QTest::newRow("delta offset continues past 31")
        << 3 << QByteArray() << QByteArray("\x1f\x02\x7e", 3) << 64 << QByteArray(33, '\0') + '\x7e';
    QTest::newRow("delta offset of 31 + 255 + 1")
        << 3 << QByteArray() << QByteArray("\x1f\xff\x01\x7e", 4) << 400 << QByteArray(287, '\0') + '\x7e';
    QTest::newRow("delta with no commands keeps the seed") << 3 << seed << QByteArray() << 64 << seed;
    QTest::newRow("delta past the limit is clipped")
        << 3 << seed << QByteArray("\x25\xaa\xbb", 3) << 6 << QByteArray("\x11\x22\x33\x44\x55\xaa", 6);
    QTest::newRow("replacement delta literal")
        << 9 << seed << QByteArray("\x09\xaa\xbb", 3) << 64 << QByteArray("\x11\xaa\xbb\x44\x55\x66", 6);
    QTest::newRow("replacement delta repeated")
        << 9 << seed << QByteArray("\xa1\xee", 2) << 64 << QByteArray("\x11\xee\xee\xee\x55\x66", 6);
    QTest::newRow("replacement delta long repeat")
        << 9 << QByteArray() << QByteArray("\x9f\x02\x05", 3) << 64 << QByteArray(35, '\x05');
    QTest::newRow("replacement delta offset extension")
        << 9 << QByteArray() << QByteArray("\x78\x01\x33", 3) << 64 << QByteArray(16, '\0') + '\x33';
}

void TestRasterRows::decode()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, seed);
    QFETCH(QByteArray, data);
    QFETCH(int, limit);
    QFETCH(QByteArray, expected);
    RasterCompression compression {};
    QVERIFY(rasterCompressionFromNumber(mode, compression));
    std::vector<std::uint8_t> row = bytes(seed);
    const std::vector<std::uint8_t> input = bytes(data);
    QVERIFY(decodeRasterRow(compression, input, row, std::size_t(limit)));
    QCOMPARE(text(row).toHex(' '), expected.toHex(' '));
}

void TestRasterRows::compressionNumbers_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("known");

    for (int mode : { 0, 1, 2, 3, 5, 9 })
        QTest::addRow("mode %d", mode) << double(mode) << true;
    QTest::newRow("mode 4 is not one") << 4.0 << false;
    QTest::newRow("past the last") << 10.0 << false;
    QTest::newRow("a fraction") << 2.5 << false;
    QTest::newRow("negative") << -1.0 << false;
    QTest::newRow("far beyond int") << 1.1e25 << false;
    QTest::newRow("far below int") << -1.1e25 << false;
    QTest::newRow("not a number") << std::nan("") << false;
}

void TestRasterRows::compressionNumbers()
{
    QFETCH(double, number);
    QFETCH(bool, known);
    RasterCompression compression = RasterCompression(7);
    QCOMPARE(rasterCompressionFromNumber(number, compression), known);
    QCOMPARE(int(compression), known ? int(number) : 7);
}

void TestRasterRows::brokenRows_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("run length without its byte") << 1 << QByteArray("\x02\xff\x03", 3);
    QTest::newRow("pack bits literal cut short") << 2 << QByteArray("\x05\x01\x02", 3);
    QTest::newRow("pack bits run without its byte") << 2 << QByteArray("\xfe", 1);
    QTest::newRow("delta command without its bytes") << 3 << QByteArray("\x40\x01", 2);
    QTest::newRow("delta offset extension cut short") << 3 << QByteArray("\x1f\xff", 2);
    QTest::newRow("replacement delta count extension cut short") << 9 << QByteArray("\x07", 1);
    QTest::newRow("replacement delta repeat without its byte") << 9 << QByteArray("\x80", 1);
    QTest::newRow("replacement delta literal cut short") << 9 << QByteArray("\x03\x01", 2);
}

void TestRasterRows::brokenRows()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, data);
    RasterCompression compression {};
    QVERIFY(rasterCompressionFromNumber(mode, compression));
    std::vector<std::uint8_t> row;
    const std::vector<std::uint8_t> input = bytes(data);
    QVERIFY(!decodeRasterRow(compression, input, row, 1024));
    QVERIFY(row.size() <= 1024);
}

void TestRasterRows::roundTrip_data()
{
    QTest::addColumn<int>("mode");
    for (int mode : { 0, 1, 2, 3, 9 })
        QTest::addRow("mode %d", mode) << mode;
}

void TestRasterRows::roundTrip()
{
    QFETCH(int, mode);
    RasterCompression compression {};
    QVERIFY(rasterCompressionFromNumber(mode, compression));
    const QList<QByteArray> rows = sampleRows(120, 700, quint32(mode) + 1);
    std::vector<std::uint8_t> seed;
    QByteArray previous;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QByteArray data;
        switch (mode) {
        case 1:
            data = plottest::encodeRunLength(rows[r]);
            break;
        case 2:
            data = plottest::encodePackBits(rows[r]);
            break;
        case 3:
            data = plottest::encodeDeltaRow(previous, rows[r]);
            break;
        case 9:
            data = plottest::encodeReplacementDelta(previous, rows[r]);
            break;
        default:
            data = rows[r];
            break;
        }
        const std::vector<std::uint8_t> input = bytes(data);
        QVERIFY(decodeRasterRow(compression, input, seed, 700));
        seed.resize(700, 0); // bytes past the row's end are zero
        QVERIFY2(text(seed) == rows[r], qPrintable(QStringLiteral("row %1").arg(r)));
        previous = rows[r];
    }
}

void TestRasterRows::adaptiveBlock()
{
    const QList<QByteArray> rows = sampleRows(60, 300, 99);
    const QByteArray block = plottest::encodeAdaptive(rows);
    const std::vector<std::uint8_t> data = bytes(block);
    AdaptiveBlockReader reader(data);
    std::vector<std::uint8_t> seed;
    QList<QByteArray> decoded;
    for (;;) {
        std::size_t count = 0;
        const AdaptiveBlockReader::Step step = reader.next(seed, 300, count);
        if (step == AdaptiveBlockReader::Step::End)
            break;
        QVERIFY(step != AdaptiveBlockReader::Step::Malformed);
        if (step == AdaptiveBlockReader::Step::BlankRows)
            seed.clear();
        seed.resize(300, 0);
        for (std::size_t i = 0; i < (step == AdaptiveBlockReader::Step::Row ? 1 : count); ++i)
            decoded.append(text(seed));
    }
    QCOMPARE(decoded.size(), rows.size());
    QVERIFY(decoded == rows);
}

void TestRasterRows::adaptiveBlockCutShort()
{
    const QByteArray block("\x02\x00\x09\x01\xaa", 5); // says nine bytes, holds two
    const std::vector<std::uint8_t> data = bytes(block);
    AdaptiveBlockReader reader(data);
    std::vector<std::uint8_t> seed;
    std::size_t count = 0;
    QCOMPARE(reader.next(seed, 64, count), AdaptiveBlockReader::Step::Malformed);
    const std::vector<std::uint8_t> header { 0x04, 0x00 };
    AdaptiveBlockReader shortHeader(header);
    QCOMPARE(shortHeader.next(seed, 64, count), AdaptiveBlockReader::Step::Malformed);
}

QTEST_GUILESS_MAIN(TestRasterRows)
#include "tst_rasterrows.moc"
