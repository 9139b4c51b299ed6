#include "OtherFiles.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QtEndian>

#include <zlib.h>

namespace plotviewer::test {

namespace {

const QByteArray plotText = "IN;SP1;PA100,100;PD4000,100,4000,3000,100,3000,100,100;PU;SP0;\n";

QImage drawing()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawLine(0, 0, 63, 47);
    painter.drawEllipse(10, 10, 20, 20);
    return image;
}

QByteArray picture(const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!drawing().save(&buffer, format))
        qFatal("Qt cannot write %s pictures", format);
    return bytes;
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

template<typename T> void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// zlib's deflate: raw with windowBits -15, in a gzip wrapper with 31.
QByteArray deflated(const QByteArray &data, int windowBits)
{
    z_stream stream {};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        qFatal("zlib cannot deflate");
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

struct ZipEntry
{
    QByteArray name;
    QByteArray data;
    bool stored = false; // as an OpenDocument's first entry must be
};

QByteArray zip(const QList<ZipEntry> &entries)
{
    QByteArray out;
    QByteArray directory;
    for (const ZipEntry &entry : entries) {
        const auto crc
            = quint32(crc32(0, reinterpret_cast<const Bytef *>(entry.data.data()), uInt(entry.data.size())));
        const QByteArray packed = entry.stored ? entry.data : deflated(entry.data, -15);
        const quint16 method = entry.stored ? 0 : 8;
        const auto offset = quint32(out.size());
        put<quint32>(out, 0x04034b50);
        for (quint16 field : { quint16(20), quint16(0), method, quint16(0), quint16(0) })
            put(out, field);
        put(out, crc);
        put(out, quint32(packed.size()));
        put(out, quint32(entry.data.size()));
        put(out, quint16(entry.name.size()));
        put(out, quint16(0));
        out += entry.name + packed;

        put<quint32>(directory, 0x02014b50);
        for (quint16 field : { quint16(20), quint16(20), quint16(0), method, quint16(0), quint16(0) })
            put(directory, field);
        put(directory, crc);
        put(directory, quint32(packed.size()));
        put(directory, quint32(entry.data.size()));
        for (quint16 field : { quint16(entry.name.size()), quint16(0), quint16(0), quint16(0), quint16(0) })
            put(directory, field);
        put(directory, quint32(0));
        put(directory, offset);
        directory += entry.name;
    }
    const auto directoryOffset = quint32(out.size());
    out += directory;
    put<quint32>(out, 0x06054b50);
    for (quint16 field : { quint16(0), quint16(0), quint16(entries.size()), quint16(entries.size()) })
        put(out, field);
    put(out, quint32(directory.size()));
    put(out, directoryOffset);
    put(out, quint16(0));
    return out;
}

// A one-pixel GIF, which Qt reads but does not write.
QByteArray gifPicture()
{
    QByteArray out("GIF89a");
    put(out, quint16(1));
    put(out, quint16(1));
    out += QByteArray("\x80\x00\x00", 3); // a global colour table of two entries
    out += QByteArray("\x00\x00\x00\xff\xff\xff", 6);
    out += QByteArray("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10); // the image, no local table
    out += QByteArray("\x02\x02\x44\x01\x00\x3b", 6); // its LZW data, then the trailer
    return out;
}

// A one-pixel grey TIFF, which Qt writes only with a plugin that may be missing.
QByteArray tiffPicture()
{
    QByteArray out("II*\0", 4);
    put(out, quint32(8));
    const quint16 entries[][2] = { { 256, 1 }, { 257, 1 }, { 258, 8 }, { 259, 1 }, { 262, 1 }, { 273, 0 },
        { 277, 1 }, { 278, 1 }, { 279, 1 } };
    const quint32 pixelOffset = 8 + 2 + sizeof(entries) / sizeof(entries[0]) * 12 + 4;
    put(out, quint16(std::size(entries)));
    for (const auto &[tag, value] : entries) {
        put(out, tag);
        put(out, quint16(tag == 273 ? 4 : 3)); // LONG for the strip offset, SHORT for the rest
        put(out, quint32(1));
        put(out, tag == 273 ? pixelOffset : quint32(value));
    }
    put(out, quint32(0));
    out += char(0x80);
    return out;
}

QByteArray tarArchive()
{
    QByteArray header(512, '\0');
    header.replace(0, 11, "drawing.plt");
    header.replace(100, 7, "0000644");
    header.replace(124, 11, QByteArray::number(plotText.size(), 8).rightJustified(11, '0'));
    header.replace(156, 1, "0");
    header.replace(257, 8,
        QByteArray("ustar\0"
                   "00",
            8));
    header.replace(148, 8, "        ");
    int sum = 0;
    for (char c : header)
        sum += static_cast<unsigned char>(c);
    header.replace(148, 7, QByteArray::number(sum, 8).rightJustified(6, '0') + '\0');
    return header + plotText.leftJustified(512, '\0') + QByteArray(1024, '\0');
}

QByteArray elfExecutable()
{
    QByteArray out("\x7f"
                   "ELF\x02\x01\x01",
        7);
    out += QByteArray(9, '\0');
    put(out, quint16(2)); // an executable
    put(out, quint16(0x3e)); // x86-64
    put(out, quint32(1));
    out += QByteArray(64 - out.size(), '\0');
    return out + randomBytes(4096, 7);
}

QByteArray windowsExecutable()
{
    QByteArray out("MZ\x90\0", 4);
    out += QByteArray(0x3c - out.size(), '\0');
    put(out, quint32(0x80));
    out += QByteArray("This program cannot be run in DOS mode.\r\r\n$")
               .leftJustified(0x80 - out.size(), '\0');
    out += QByteArray("PE\0\0", 4);
    put(out, quint16(0x8664));
    out += QByteArray(18, '\0');
    return out + randomBytes(4096, 8);
}

QByteArray utf16(const QString &text, bool withMark)
{
    QByteArray bytes = withMark ? QByteArray("\xff\xfe") : QByteArray();
    for (QChar c : text)
        put(bytes, c.unicode());
    return bytes;
}

const QString prose = QStringLiteral(
    "# Plotting\n\nTarnwick prints plot files in batches. Select the files, add them to the list and\n"
    "press Print. Colour, black and white or grey scale; actual size or fitted to the paper.\n");

QByteArray dxf(bool withHeader)
{
    QByteArray out = withHeader ? "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n" : "";
    out += "  0\nSECTION\n  2\nENTITIES\n";
    for (int i = 0; i < 20; ++i)
        out += "  0\nLINE\n  8\n0\n 10\n" + QByteArray::number(i) + ".0\n 20\n0.0\n 11\n"
            + QByteArray::number(i) + ".0\n 21\n10.0\n";
    return out + "  0\nENDSEC\n  0\nEOF\n";
}

} // namespace

QByteArray pngPicture()
{
    return picture("png");
}

QByteArray pdfDocument()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, 2 * writer.resolution(), writer.resolution()), Qt::black);
    }
    return bytes;
}

QByteArray zipArchive()
{
    return zip({ { "drawing.plt", plotText, true }, { "notes.txt", prose.toUtf8() } });
}

QList<OtherFile> otherFiles()
{
    const QByteArray document = "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                                "2006/main\"><w:body/></w:document>";
    return {
        { "PNG picture", pngPicture(), QStringLiteral("PNG") },
        { "JPEG picture", picture("jpeg"), QStringLiteral("JPEG") },
        { "BMP picture", picture("bmp"), QStringLiteral("BMP") },
        { "PPM picture", picture("ppm"), QStringLiteral("PPM") },
        { "GIF picture", gifPicture(), QStringLiteral("GIF") },
        { "TIFF picture", tiffPicture(), QStringLiteral("TIFF") },
        { "PDF document", pdfDocument(), QStringLiteral("PDF") },
        { "PostScript document",
            "%!PS-Adobe-3.0\n%%BoundingBox: 0 0 100 100\nnewpath 0 0 moveto 100 100 lineto "
            "stroke\nshowpage\n",
            QStringLiteral("PostScript") },
        { "ZIP archive holding a plot", zipArchive(), QStringLiteral("Zip") },
        { "OpenDocument text",
            zip({ { "mimetype", "application/vnd.oasis.opendocument.text", true },
                { "content.xml", "<office:document-content/>" } }),
            QStringLiteral("ODT") },
        // The MIME database knows these only by their name; by content they are ZIP archives.
        { "Word document", zip({ { "[Content_Types].xml", "<Types/>" }, { "word/document.xml", document } }),
            QStringLiteral("Zip") },
        { "gzip archive", deflated(plotText, 31), QStringLiteral("Gzip") },
        { "bzip2 archive", QByteArray("BZh91AY&SY") + randomBytes(2048, 3), QStringLiteral("Bzip") },
        { "xz archive",
            QByteArray("\xfd"
                       "7zXZ\0\0\x04",
                8)
                + randomBytes(2048, 4),
            QStringLiteral("XZ") },
        { "tar archive holding a plot", tarArchive(), QStringLiteral("Tar") },
        { "ELF executable", elfExecutable(), QStringLiteral("executable") },
        { "Windows executable", windowsExecutable(), QStringLiteral("executable") },
        { "XML document", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plot><line x=\"1\"/></plot>\n",
            QStringLiteral("XML") },
        { "HTML page",
            "<!DOCTYPE "
            "html>\n<html><head><title>Plots</title></head><body><p>PA10,10;PD20,20;</p></body></html>\n",
            QStringLiteral("HTML") },
        { "SVG drawing",
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\"><path d=\"M0 0L100 "
            "100\"/></svg>\n",
            QStringLiteral("SVG") },
        { "UTF-16 text with its mark", utf16(prose, true), QStringLiteral("UTF-16") },
        { "UTF-16 text without a mark", utf16(prose, false), QStringLiteral("UTF-16") },
        { "DXF drawing of entities only", dxf(false), QStringLiteral("DXF") },
        { "DXF drawing with a header", dxf(true), QStringLiteral("DXF") },
        { "binary DXF drawing", QByteArray("AutoCAD Binary DXF\r\n\x1a\0", 22) + randomBytes(512, 5),
            QStringLiteral("DXF") },
        { "C++ source", "#include <cstdio>\nint main() { std::puts(\"PU;PD;\"); }\n",
            QStringLiteral("source") },
        { "Markdown text", prose.toUtf8(), {} },
        { "text about HP-GL",
            "Move the pen with PU and PD; PA 100,100 goes to an absolute point, and "
            "IN resets the plotter. Labels are written with LB and end with ETX.\n",
            {} },
        { "gnuplot script", "set terminal png\nset output 'sine.png'\nplot sin(x) with lines title 'sine'\n",
            {} },
        { "G-code", "G21\nG90\nG0 X0 Y0\nG1 X10 Y10 F1200\nG1 X20 Y0\nM2\n", {} },
        { "numbers in columns", "x,y\n0,0\n1,0.84\n2,0.91\n3,0.14\n4,-0.76\n", {} },
        { "random bytes", randomBytes(64 * 1024, 9), {} },
    };
}

} // namespace plotviewer::test
