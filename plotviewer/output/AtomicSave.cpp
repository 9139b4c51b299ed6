#include "AtomicSave.h"

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

} // namespace plotviewer
