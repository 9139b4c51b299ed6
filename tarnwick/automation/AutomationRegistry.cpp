#include "tarnwick/automation/AutomationRegistry.h"

#include "contract/AutomationInterfaces.h"
#include "contract/PlotServerBus.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/automation/InProcessTarget.h"
#include "tarnwick/automation/RemoteTarget.h"
#include "tarnwick/automation/ServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QObject>
#include <QPluginLoader>

namespace {

const QString ServersFolder = QStringLiteral("servers");

QString key(const QString &progId)
{
    return progId.toLower();
}

bool listsProgId(const QJsonObject &declaration, const QString &progId)
{
    const QJsonArray progIds = declaration.value(QLatin1String("ProgIDs")).toArray();
    return std::any_of(progIds.begin(), progIds.end(), [&](const QJsonValue &declared) {
        return declared.toString().compare(progId, Qt::CaseInsensitive) == 0;
    });
}

bool declaresProgId(const QJsonObject &metaData, const QString &progId)
{
    return metaData.value(QLatin1String("IID")).toString() == QLatin1String(AutomationServerFactory_iid)
        && listsProgId(metaData.value(QLatin1String("MetaData")).toObject(), progId);
}

} // namespace

AutomationRegistry &AutomationRegistry::instance()
{
    static AutomationRegistry registry;
    return registry;
}

void AutomationRegistry::registerInProcess(const QString &progId, Factory factory)
{
    m_inProcess.insert(key(progId), std::move(factory));
}

void AutomationRegistry::unregisterInProcess(const QString &progId)
{
    m_inProcess.remove(key(progId));
}

QStringList AutomationRegistry::searchFolders() const
{
    return m_searchFolders;
}

void AutomationRegistry::setSearchFolders(const QStringList &folders)
{
    m_searchFolders = folders;
}

QStringList AutomationRegistry::defaultSearchFolders()
{
    QStringList folders { QDir(QCoreApplication::applicationDirPath()).filePath(ServersFolder) };
    for (const QString &libraryPath : QCoreApplication::libraryPaths()) {
        const QString folder = QDir(libraryPath).filePath(ServersFolder);
        if (!folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

std::shared_ptr<AutomationTarget> AutomationRegistry::create(const QString &progId) const
{
    if (const auto inProcess = m_inProcess.constFind(key(progId)); inProcess != m_inProcess.cend()) {
        QString error;
        if (QObject *object = (*inProcess)(&error))
            return std::make_shared<InProcessTarget>(object);
        throw AutomationError(
            QStringLiteral("The automation server \"%1\" could not create an object: %2").arg(progId, error));
    }
    for (const QString &folder : m_searchFolders) {
        if (const QString program = findProgram(folder, progId); !program.isEmpty()) {
            return std::make_shared<RemoteTarget>(
                ServerProcess::start(progId, program), QString::fromLatin1(PlotServerBus::ServerPath), false);
        }
        if (const QString plugin = findPlugin(folder, progId); !plugin.isEmpty())
            return std::make_shared<InProcessTarget>(createFromPlugin(progId, plugin));
    }
    throw AutomationError(
        QStringLiteral("The automation server \"%1\" is not installed (looked in %2).")
            .arg(progId, QDir::toNativeSeparators(m_searchFolders.join(QStringLiteral(", ")))));
}

QString AutomationRegistry::findProgram(const QString &folder, const QString &progId) const
{
    const QDir dir(folder);
    for (const QString &name :
        dir.entryList({ QStringLiteral("*.json") }, QDir::Files | QDir::Readable, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject description = QJsonDocument::fromJson(file.readAll()).object();
        const QString program = description.value(QLatin1String("Program")).toString();
        if (!program.isEmpty() && listsProgId(description, progId))
            return dir.absoluteFilePath(program);
    }
    return {};
}

QString AutomationRegistry::findPlugin(const QString &folder, const QString &progId) const
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
        const QString path = dir.filePath(name);
        if (QLibrary::isLibrary(path) && declaresProgId(QPluginLoader(path).metaData(), progId))
            return path;
    }
    return {};
}

QObject *AutomationRegistry::createFromPlugin(const QString &progId, const QString &pluginPath) const
{
    QPluginLoader loader(pluginPath);
    // Resolve everything now: a plugin missing a symbol must fail here, not crash in a later call.
    loader.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    QObject *root = loader.instance();
    if (!root) {
        throw AutomationError(QStringLiteral("The automation server \"%1\" could not be loaded: %2")
                                  .arg(progId, loader.errorString()));
    }
    auto *factory = qobject_cast<AutomationServerFactory *>(root);
    if (!factory) {
        throw AutomationError(
            QStringLiteral("The automation server \"%1\" in %2 is not an automation server.")
                .arg(progId, QDir::toNativeSeparators(pluginPath)));
    }
    QString error;
    QObject *object = factory->createObject(progId, &error);
    if (!object) {
        throw AutomationError(QStringLiteral("The automation server \"%1\" could not create an object: %2")
                                  .arg(progId, error.isEmpty() ? QStringLiteral("no reason given") : error));
    }
    return object;
}
