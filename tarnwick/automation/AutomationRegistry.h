#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class AutomationTarget;
class QObject;

/// Resolves a ProgID to the server that makes its objects: first servers registered in-process
/// (tests use this), then, folder by folder, server programs and server plugins that declare the
/// ProgID. A program is described by a JSON file beside it,
///     { "ProgIDs": [ "Plotviewer.application" ], "Program": "plotviewer-server" },
/// and runs in a process of its own (see contract/PlotServerBus.h); a plugin declares its ProgIDs
/// in its metadata and is loaded into this process. A folder's program comes before its plugin.
/// Nothing is started or loaded until an object is created.
class AutomationRegistry
{
public:
    /// Makes a new object, owned by the caller; nullptr with `error` set on failure.
    using Factory = std::function<QObject *(QString *error)>;

    static AutomationRegistry &instance();

    void registerInProcess(const QString &progId, Factory factory);
    void unregisterInProcess(const QString &progId);

    /// The folders searched for servers, in order: "servers" beside the executable, then "servers"
    /// in each of Qt's library paths.
    QStringList searchFolders() const;
    void setSearchFolders(const QStringList &folders);
    static QStringList defaultSearchFolders();

    /// A new object for `progId`: started, loaded or made in-process. Throws AutomationError.
    std::shared_ptr<AutomationTarget> create(const QString &progId) const;

private:
    /// The program a description in a search folder names for `progId`, or an empty string.
    QString findProgram(const QString &folder, const QString &progId) const;
    QString findPlugin(const QString &folder, const QString &progId) const;
    QObject *createFromPlugin(const QString &progId, const QString &pluginPath) const;

    QHash<QString, Factory> m_inProcess; // keyed by lower-case ProgID
    QStringList m_searchFolders = defaultSearchFolders();
};
