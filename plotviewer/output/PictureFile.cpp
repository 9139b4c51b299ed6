#include "PictureFile.h"

#include "AtomicSave.h"

#include <QImageWriter>

namespace plotviewer {

namespace {

constexpr int jpegQuality = 90;
// For PNG, Qt turns quality into the zlib level; 80 gives level 1: files close to the smallest in a
// fraction of the time (90 and more would store the picture uncompressed).
constexpr int pngQuality = 80;

} // namespace

bool writePictureFile(const QImage &picture, const QString &path, const char *format, QString *error)
{
    return saveAtomically(
        path, QStringLiteral("picture"),
        [&](QSaveFile &file, QString &reason) {
            QImageWriter writer(&file, format);
            writer.setQuality(qstrcmp(format, "png") == 0 ? pngQuality : jpegQuality);
            if (writer.write(picture))
                return true;
            reason = writer.errorString();
            return false;
        },
        error);
}

} // namespace plotviewer
