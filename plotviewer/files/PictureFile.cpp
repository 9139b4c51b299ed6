#include "PictureFile.h"

#include "AtomicSave.h"
#include "PngEncoder.h"

#include <QImageWriter>

namespace plotviewer {

namespace {

constexpr int jpegQuality = 90;

} // namespace

bool writePictureFile(const QImage &picture, const QString &path, const char *format, QString *error)
{
    return saveAtomically(
        path, QStringLiteral("picture"),
        [&](QSaveFile &file, QString &reason) {
            // PNG is written here rather than through Qt, which tries every image plugin installed
            // before it writes one and filters every row.
            if (qstrcmp(format, "png") == 0)
                return encodePng(picture, file, reason);
            QImageWriter writer(&file, format);
            writer.setQuality(jpegQuality);
            if (writer.write(picture))
                return true;
            reason = writer.errorString();
            return false;
        },
        error);
}

} // namespace plotviewer
