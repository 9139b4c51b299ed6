#pragma once
// A PCL raster encoder for tests: rows in every compression mode and whole raster jobs, written
// independently of the reader so that round trips check it.

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstdint>

namespace plottest {

using Row = QByteArray;

// Each run: count - 1, then the byte.
inline QByteArray encodeRunLength(const Row &row)
{
    QByteArray out;
    for (qsizetype i = 0; i < row.size();) {
        qsizetype n = 1;
        while (i + n < row.size() && n < 256 && row[i + n] == row[i])
            ++n;
        out += char(n - 1);
        out += row[i];
        i += n;
    }
    return out;
}

// TIFF PackBits: repeats of three or more as runs, the rest as literals.
inline QByteArray encodePackBits(const Row &row)
{
    QByteArray out;
    QByteArray literal;
    auto flushLiteral = [&] {
        for (qsizetype at = 0; at < literal.size(); at += 128) {
            const QByteArray part = literal.mid(at, 128);
            out += char(part.size() - 1);
            out += part;
        }
        literal.clear();
    };
    for (qsizetype i = 0; i < row.size();) {
        qsizetype n = 1;
        while (i + n < row.size() && n < 128 && row[i + n] == row[i])
            ++n;
        if (n >= 3) {
            flushLiteral();
            out += char(1 - n);
            out += row[i];
        } else {
            literal += row.mid(i, n);
        }
        i += n;
    }
    flushLiteral();
    return out;
}

// Offsets and counts that continue in further bytes while those are 255.
inline void appendExtension(QByteArray &out, qsizetype value)
{
    for (; value >= 255; value -= 255)
        out += char(255);
    out += char(value);
}

// The differences from `seed`: (offset from the current byte, replacement bytes) pairs.
struct Change
{
    qsizetype offset;
    QByteArray bytes;
};

inline QList<Change> changes(const Row &seed, const Row &row, qsizetype longest)
{
    QList<Change> found;
    qsizetype current = 0;
    const qsizetype size = std::max(seed.size(), row.size());
    auto at = [](const Row &r, qsizetype i) { return i < r.size() ? r[i] : char(0); };
    for (qsizetype i = 0; i < size;) {
        if (at(seed, i) == at(row, i)) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < size && end - i < longest && at(seed, end) != at(row, end))
            ++end;
        QByteArray bytes;
        for (qsizetype j = i; j < end; ++j)
            bytes += at(row, j);
        found.append({ i - current, bytes });
        current = end;
        i = end;
    }
    return found;
}

inline QByteArray encodeDeltaRow(const Row &seed, const Row &row)
{
    QByteArray out;
    for (const Change &change : changes(seed, row, 8)) {
        const qsizetype offset = change.offset;
        out += char((change.bytes.size() - 1) << 5 | std::min<qsizetype>(offset, 31));
        if (offset >= 31)
            appendExtension(out, offset - 31);
        out += change.bytes;
    }
    return out;
}

// Mode 9 in its literal form, and its repeated form for changes of one byte value.
inline QByteArray encodeReplacementDelta(const Row &seed, const Row &row)
{
    QByteArray out;
    for (const Change &change : changes(seed, row, 4096)) {
        const qsizetype offset = change.offset;
        const qsizetype count = change.bytes.size();
        const bool repeated = count >= 2 && change.bytes.count(change.bytes[0]) == count;
        if (repeated) {
            out += char(0x80 | std::min<qsizetype>(offset, 3) << 5 | std::min<qsizetype>(count - 2, 31));
            if (offset >= 3)
                appendExtension(out, offset - 3);
            if (count - 2 >= 31)
                appendExtension(out, count - 2 - 31);
            out += change.bytes[0];
        } else {
            out += char(std::min<qsizetype>(offset, 15) << 3 | std::min<qsizetype>(count - 1, 7));
            if (offset >= 15)
                appendExtension(out, offset - 15);
            if (count - 1 >= 7)
                appendExtension(out, count - 1 - 7);
            out += change.bytes;
        }
    }
    return out;
}

// One adaptive block for all rows: blank rows and repeats as such, the others in PackBits.
inline QByteArray encodeAdaptive(const QList<Row> &rows)
{
    QByteArray out;
    auto element = [&out](int command, qsizetype size) {
        out += char(command);
        out += char(size >> 8);
        out += char(size & 0xff);
    };
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype same = 1;
        while (i + same < rows.size() && rows[i + same] == rows[i])
            ++same;
        if (rows[i].count('\0') == rows[i].size()) {
            element(4, same);
            i += same;
            continue;
        }
        const QByteArray packed = encodePackBits(rows[i]);
        element(2, packed.size());
        out += packed;
        if (same > 1)
            element(5, same - 1);
        i += same;
    }
    return out;
}

/// The transfers of `rows` (each row's planes side by side: `planes` planes of equal size) in
/// `mode`, each as ESC*b#V / ESC*b#W with its data; `combined`, all of them in one escape sequence
/// as inkjet drivers write a page: lower-case letters continue it, and "0M" ends it.
inline QByteArray encodeTransfers(const QList<Row> &rows, int mode, int planes = 1, bool combined = false)
{
    auto transfer = [combined](const QByteArray &data, char letter) {
        return (combined ? QByteArray() : QByteArray("\x1b*b")) + QByteArray::number(data.size())
            + char(combined ? letter + 32 : letter) + data;
    };
    QByteArray out = combined ? QByteArray("\x1b*b") : QByteArray();
    if (mode == 5)
        out += transfer(encodeAdaptive(rows), 'W');
    QList<Row> seeds(planes);
    for (const Row &row : mode == 5 ? QList<Row>() : rows) {
        const qsizetype planeSize = row.size() / planes;
        for (int p = 0; p < planes; ++p) {
            const Row plane = row.mid(p * planeSize, planeSize);
            QByteArray data;
            switch (mode) {
            case 1:
                data = encodeRunLength(plane);
                break;
            case 2:
                data = encodePackBits(plane);
                break;
            case 3:
                data = encodeDeltaRow(seeds[p], plane);
                break;
            case 9:
                data = encodeReplacementDelta(seeds[p], plane);
                break;
            default:
                data = plane;
                break;
            }
            seeds[p] = plane;
            out += transfer(data, p + 1 == planes ? 'W' : 'V');
        }
    }
    return combined ? out + "0M" : out;
}

} // namespace plottest
