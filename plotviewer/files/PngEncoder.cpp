#include "PngEncoder.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace plotviewer {

namespace {

// Each level beyond the fastest costs far more time than it saves bytes on pictures of plots.
constexpr int compressionLevel = 1;

struct Output
{
    QIODevice *device = nullptr;
    const char *failure = nullptr; // set before libpng gives up
};

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *output = static_cast<Output *>(png_get_io_ptr(png));
    if (output->device->write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length)) {
        output->failure = "the picture could not be written out";
        png_error(png, output->failure);
    }
}

void flushBytes(png_structp) { }

void onError(png_structp png, png_const_charp message)
{
    auto *output = static_cast<Output *>(png_get_error_ptr(png));
    if (!output->failure)
        output->failure = message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) { }

bool holdsOnlyGreys(const QImage &picture)
{
    const int width = picture.width();
    const bool threeBytes = picture.format() == QImage::Format_RGB888;
    for (int y = 0; y < picture.height(); ++y) {
        std::uint32_t differences = 0;
        if (threeBytes) {
            const std::uint8_t *row = picture.constScanLine(y);
            for (int x = 0; x < 3 * width; x += 3)
                differences |= (row[x] ^ row[x + 1]) | (row[x + 1] ^ row[x + 2]);
        } else {
            const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
            for (int x = 0; x < width; ++x)
                differences |= (row[x] ^ (row[x] >> 8)) & 0xffff; // red against green, green against blue
        }
        if (differences != 0)
            return false;
    }
    return true;
}

// Kept apart from the objects with destructors: libpng leaves it by longjmp when it fails.
bool writeRows(png_structp png, png_infop info, const QImage &picture, bool grey, std::uint8_t *greyRow)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, png_uint_32(picture.width()), png_uint_32(picture.height()), 8,
        grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (picture.dotsPerMeterX() > 0 && picture.dotsPerMeterY() > 0) {
        png_set_pHYs(png, info, png_uint_32(picture.dotsPerMeterX()), png_uint_32(picture.dotsPerMeterY()),
            PNG_RESOLUTION_METER);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, compressionLevel);
    png_write_info(png, info);
    const bool threeBytes = picture.format() == QImage::Format_RGB888;
    if (!grey && !threeBytes) {
        // QImage keeps 0xffRRGGBB words, that is B, G, R, A bytes on a little-endian machine.
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            png_set_bgr(png);
            png_set_filler(png, 0, PNG_FILLER_AFTER);
        } else {
            png_set_filler(png, 0, PNG_FILLER_BEFORE);
        }
    }
    const int width = picture.width();
    const int step = threeBytes ? 3 : 4; // blue, the last byte of three or the first of four
    const int blue = threeBytes ? 2 : QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 0 : 3;
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t *row = picture.constScanLine(y);
        if (grey) {
            for (int x = 0; x < width; ++x)
                greyRow[x] = row[step * x + blue];
            png_write_row(png, greyRow);
        } else {
            png_write_row(png, row);
        }
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool encodePng(const QImage &picture, QIODevice &device, QString &reason)
{
    if (picture.isNull()) {
        reason = QStringLiteral("the picture is empty");
        return false;
    }
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_RGB888
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
    const bool grey = holdsOnlyGreys(rgb);
    std::vector<std::uint8_t> greyRow(grey ? std::size_t(rgb.width()) : 0);
    Output output { &device, nullptr };
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info) {
        png_set_write_fn(png, &output, writeBytes, flushBytes);
        written = writeRows(png, info, rgb, grey, greyRow.data());
    }
    png_destroy_write_struct(&png, &info);
    if (!written)
        reason = QString::fromUtf8(output.failure ? output.failure : "out of memory");
    return written;
}

} // namespace plotviewer
