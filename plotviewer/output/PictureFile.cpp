#include "PictureFile.h"

#include <QImageWriter>
#include <QSaveFile>

namespace plotviewer {

namespace {

constexpr int kJpegQuality = 90;
// For PNG, Qt turns quality into the zlib level; 80 gives level 1: files close to the smallest in a
// fraction of the time (90 and more would store the picture uncompressed).
constexpr int kPngQuality = 80;

} // namespace

bool writePictureFile(const QImage &picture, const QString &path, const char *format, QString *error)
{
    const auto fail = [&](const QString &reason) {
        *error = QStringLiteral("Cannot write the picture \"%1\": %2").arg(path, reason);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QImageWriter writer(&file, format);
    writer.setQuality(qstrcmp(format, "png") == 0 ? kPngQuality : kJpegQuality);
    if (!writer.write(picture)) {
        file.cancelWriting();
        return fail(writer.errorString());
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace plotviewer
