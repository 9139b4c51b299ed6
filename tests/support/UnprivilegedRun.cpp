#include "UnprivilegedRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

const char *const UnprivilegedUser = "nobody";

const QFileDevice::Permissions Readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
    | QFileDevice::ExeOther;

const passwd *unprivilegedUser()
{
    return ::getpwnam(UnprivilegedUser);
}

} // namespace

bool UnprivilegedRun::isRoot()
{
    return ::geteuid() == 0;
}

QString UnprivilegedRun::unavailableReason()
{
    if (!isRoot())
        return {};
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return QStringLiteral("setpriv is not installed, so root cannot run a program as another user");
    if (!unprivilegedUser())
        return QStringLiteral("there is no user \"%1\" to run as").arg(QLatin1String(UnprivilegedUser));
    return {};
}

UnprivilegedRun::UnprivilegedRun(const QStringList &files)
{
    if (!m_folder.isValid() || !QFile::setPermissions(m_folder.path(), Readable))
        qFatal("cannot make a staging folder");
    for (const QString &file : files) {
        const QString copy = QDir(m_folder.path()).filePath(QFileInfo(file).fileName());
        if (!QFile::copy(file, copy) || !QFile::setPermissions(copy, Readable))
            qFatal("cannot stage %s", qPrintable(file));
        if (m_program.isEmpty())
            m_program = copy;
    }
}

QString UnprivilegedRun::makeUserFolder(const QString &name) const
{
    const QString path = QDir(m_folder.path()).filePath(name);
    if (!QDir().mkpath(path))
        qFatal("cannot make %s", qPrintable(path));
    if (isRoot()) {
        const passwd *user = unprivilegedUser();
        if (!user || ::chown(QFile::encodeName(path).constData(), user->pw_uid, user->pw_gid) != 0)
            qFatal("cannot give %s to the unprivileged user", qPrintable(path));
    }
    return path;
}

void UnprivilegedRun::start(QProcess &process, const QStringList &arguments) const
{
    if (!isRoot()) {
        process.start(m_program, arguments);
        return;
    }
    const passwd *user = unprivilegedUser();
    process.start(QStringLiteral("setpriv"),
        QStringList { QStringLiteral("--reuid=%1").arg(user->pw_uid),
            QStringLiteral("--regid=%1").arg(user->pw_gid), QStringLiteral("--clear-groups"),
            QStringLiteral("--"), m_program }
            + arguments);
}
