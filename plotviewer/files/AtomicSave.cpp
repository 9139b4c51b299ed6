#include "AtomicSave.h"

#include <QFile>

#include <cstdio>

namespace plotviewer {

bool saveAtomically(const QString &path, const QString &what,
    const std::function<bool(QSaveFile &file, QString &reason)> &write, QString *error)
{
    const auto fail = [&](const QString &reason) {
        *error = QStringLiteral("Cannot write the %1 \"%2\": %3").arg(what, path, reason);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QString reason;
    if (!write(file, reason)) {
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool moveAtomically(const QString &source, const QString &path, const QString &what, QString *error)
{
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    // Another file system, or no right to rename there: a copy says which, and why, if it fails too.
    QFile finished(source);
    const bool saved = saveAtomically(
        path, what,
        [&](QSaveFile &file, QString &reason) {
            if (!finished.open(QIODevice::ReadOnly)) {
                reason = finished.errorString();
                return false;
            }
            constexpr qint64 chunk = 1 << 20;
            while (!finished.atEnd()) {
                const QByteArray bytes = finished.read(chunk);
                if (bytes.isEmpty() || file.write(bytes) != bytes.size()) {
                    reason = bytes.isEmpty() ? finished.errorString() : file.errorString();
                    return false;
                }
            }
            return true;
        },
        error);
    finished.remove();
    return saved;
}

} // namespace plotviewer
