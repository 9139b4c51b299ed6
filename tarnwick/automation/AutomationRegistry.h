#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

/// Resolves a ProgID to the server that makes its objects: first servers registered in-process
/// (tests use this), then plugins whose metadata lists the ProgID, found in the search folders.
/// Nothing is loaded until an object is created.
class AutomationRegistry
{
public:
    /// Makes a new object, owned by the caller; nullptr with `error` set on failure.
    using Factory = std::function<QObject *(QString *error)>;

    static AutomationRegistry &instance();

    void registerInProcess(const QString &progId, Factory factory);
    void unregisterInProcess(const QString &progId);

    /// The folders searched for server plugins, in order: "servers" beside the executable,
    /// then "servers" in each of Qt's library paths.
    QStringList searchFolders() const;
    void setSearchFolders(const QStringList &folders);
    static QStringList defaultSearchFolders();

    /// A new object for `progId`, owned by the caller. Throws AutomationError.
    QObject *createObject(const QString &progId) const;

private:
    QString findPlugin(const QString &progId) const;
    QObject *createFromPlugin(const QString &progId, const QString &pluginPath) const;

    QHash<QString, Factory> m_inProcess; // keyed by lower-case ProgID
    QStringList m_searchFolders = defaultSearchFolders();
};
