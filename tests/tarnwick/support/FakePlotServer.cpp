#include "FakePlotServer.h"

#include "FakePlotObjects.h"
#include "tarnwick/automation/AutomationRegistry.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>

void FakePlotLog::failCall(const QString &member, int occurrence, const QString &description)
{
    m_failures.append({ member, occurrence, description });
}

QStringList FakePlotLog::trace() const
{
    QStringList lines;
    for (const FakeCall &call : calls) {
        QStringList arguments;
        for (const QVariant &argument : call.arguments)
            arguments.append(argument.toString());
        lines.append(call.member + u'(' + arguments.join(u',') + u')');
    }
    return lines;
}

QString FakePlotLog::record(const QString &object, const QString &member, const QVariantList &arguments)
{
    calls.append({ object, member, arguments });
    const auto sameMember = [&](const FakeCall &call) { return call.member == member; };
    const int occurrence = int(std::count_if(calls.cbegin(), calls.cend(), sameMember));
    if (duringCall)
        duringCall(member, occurrence);
    for (qsizetype i = 0; i < m_failures.size(); ++i) {
        if (m_failures.at(i).member == member && m_failures.at(i).occurrence == occurrence)
            return m_failures.takeAt(i).description;
    }
    return {};
}

FakePlotServerRegistration::FakePlotServerRegistration()
{
    AutomationRegistry::instance().registerInProcess(
        QString::fromLatin1(PlotViewer::ProgId), [log = m_log](QString *error) -> QObject * {
            if (log->creationFails) {
                *error = QStringLiteral("the fake server refuses to start");
                return nullptr;
            }
            return new FakePlotServer(log);
        });
}

FakePlotServerRegistration::~FakePlotServerRegistration()
{
    AutomationRegistry::instance().unregisterInProcess(QString::fromLatin1(PlotViewer::ProgId));
}

FakeObject::FakeObject(std::shared_ptr<FakePlotLog> log, QString name)
    : m_log(std::move(log))
    , m_name(std::move(name))
{ }

QString FakeObject::takeError()
{
    return std::exchange(m_error, QString());
}

bool FakeObject::called(const char *member, const QVariantList &arguments)
{
    m_error = m_log->record(m_name, QString::fromLatin1(member), arguments);
    return m_error.isEmpty();
}

FakePlotServer::FakePlotServer(std::shared_ptr<FakePlotLog> log)
    : FakeObject(log, QStringLiteral("server%1").arg(++log->serversCreated))
{
    ++m_log->liveServers;
}

FakePlotServer::~FakePlotServer()
{
    --m_log->liveServers;
}

QObject *FakePlotServer::Open(const QString &path)
{
    if (!called("Open", { path }))
        return nullptr;
    const int number = ++m_log->documentsCreated;
    if (m_log->pageCount(number) > 0)
        return new FakePagedPlotDocument(m_log, number, path);
    return new FakePlotDocument(m_log, number, path);
}

void FakePlotServer::PrintSetup()
{
    called("PrintSetup");
}

FakePlotDocument::FakePlotDocument(std::shared_ptr<FakePlotLog> log, int number, QString path)
    : FakeObject(log, QStringLiteral("document%1").arg(number))
    , m_number(number)
    , m_path(std::move(path))
{
    ++m_log->liveDocuments;
}

FakePlotDocument::~FakePlotDocument()
{
    --m_log->liveDocuments;
}

void FakePlotDocument::SetColorMode(short mode)
{
    if (called("SetColorMode", { mode }))
        m_colourMode = mode;
}

void FakePlotDocument::ActualSize()
{
    called("ActualSize");
}

void FakePlotDocument::DoPrint()
{
    called("DoPrint");
}

void FakePlotDocument::SaveTo(const QString &path)
{
    if (!called("SaveTo", { path }))
        return;
    m_log->pictureExistedAtSave.append(QFileInfo::exists(path));
    savePicture(path, m_log->previewPage(m_number));
}

void FakePlotDocument::savePicture(const QString &path, int page)
{
    QImage picture(m_log->pageSize(m_number, page), QImage::Format_RGB32);
    picture.fill(QColor::fromHsv((m_number * 70 + page * 25) % 360, 200, 200));
    if (!picture.save(path, "JPG"))
        m_error = QStringLiteral("cannot write %1").arg(path);
}

int FakePagedPlotDocument::PageCount()
{
    return called("PageCount") ? m_log->pageCount(m_number) : 0;
}

int FakePagedPlotDocument::PreviewPage()
{
    return called("PreviewPage") ? m_log->previewPage(m_number) : 0;
}

void FakePagedPlotDocument::SavePageTo(int page, const QString &path)
{
    if (called("SavePageTo", { page, path }))
        savePicture(path, page);
}
