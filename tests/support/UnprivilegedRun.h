#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

/// Runs a program as an unprivileged user, for checks that root's freedom from permissions would
/// hide. As root it runs as "nobody" through setpriv; as anyone else it runs as that user.
class UnprivilegedRun
{
public:
    /// Copies `files` (the program first) into a fresh folder every user may read and enter.
    explicit UnprivilegedRun(const QStringList &files);

    /// Why the run cannot be made here; empty when it can.
    static QString unavailableReason();
    static bool isRoot();

    /// The folder holding the copies; owned by root (as root) or by the caller.
    QString folder() const { return m_folder.path(); }
    /// A folder under the staging folder that the unprivileged user owns and may write.
    QString makeUserFolder(const QString &name) const;
    /// Starts the copied program with `arguments` in `process` as the unprivileged user.
    void start(QProcess &process, const QStringList &arguments) const;

private:
    QTemporaryDir m_folder;
    QString m_program;
};
