#pragma once

#include <QImage>
#include <QString>

namespace plotviewer {

/// Writes `picture` to `path` in `format` ("jpeg", "png"), replacing any file there only once the
/// new one is complete, so a failed write leaves the old file untouched. False with `error` set
/// on failure.
bool writePictureFile(const QImage &picture, const QString &path, const char *format, QString *error);

} // namespace plotviewer
