#pragma once

#include <QSaveFile>
#include <QString>

#include <functional>

namespace plotviewer {

/// Writes the file at `path` through `write`, which returns false with `reason` set when it fails.
/// Any file already at `path` is replaced only once the new one is complete, so a failed write
/// leaves it untouched. On failure `error` reads: Cannot write the <what> "<path>": <reason>.
bool saveAtomically(const QString &path, const QString &what,
    const std::function<bool(QSaveFile &file, QString &reason)> &write, QString *error);

/// Puts the finished file `source` at `path` in one step, replacing any file there, and removes
/// `source`: by renaming it where it can, else through a copy saved as above.
bool moveAtomically(const QString &source, const QString &path, const QString &what, QString *error);

} // namespace plotviewer
