#pragma once

#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"

#include <QObject>
#include <QSize>
#include <QVariantList>
#include <functional>
#include <memory>

/// One call the fake plot server received.
struct FakeCall
{
    QString object; // "server1", "document2", ...
    QString member;
    QVariantList arguments;
    friend bool operator==(const FakeCall &, const FakeCall &) = default;
};

/// What the fake plot server records and how it misbehaves; shared by every fake object.
class FakePlotLog
{
public:
    QList<FakeCall> calls;
    int liveServers = 0;
    int liveDocuments = 0;
    int serversCreated = 0;
    int documentsCreated = 0;
    /// Creating a server fails while this is set.
    bool creationFails = false;
    /// For each SaveTo, whether a file was already at its path: shows what the caller deleted first.
    QList<bool> pictureExistedAtSave;
    /// The size of the picture SaveTo writes for the n-th document (1-based).
    std::function<QSize(int document)> pictureSize
        = [](int document) { return QSize(200 + 10 * document, 100); };
    /// How many pages the n-th document tells of through the page members of our own; 0 makes a
    /// document without those members, as an older server's.
    std::function<int(int document)> pageCount = [](int) { return 0; };
    /// The page (from 1) whose picture SaveTo writes for the n-th document.
    std::function<int(int document)> previewPage = [](int) { return 1; };
    /// The size of the picture of page `page` (from 1) of the n-th document: SaveTo's page has
    /// pictureSize's, the next four 40, 80, 120 and 160 pixels higher, and so on round.
    QSize pageSize(int document, int page) const
    {
        const int step = ((page - previewPage(document)) % 5 + 5) % 5;
        return pictureSize(document) + QSize(0, 40 * step);
    }

    /// Runs inside every recorded call, before it fails or goes ahead: a test makes calls slow here,
    /// or acts while they are under way.
    std::function<void(const QString &member, int occurrence)> duringCall;

    /// Makes the `occurrence`-th call (1-based, counted over all objects and recorded calls) of
    /// `member` fail, once.
    void failCall(const QString &member, int occurrence,
        const QString &description = QStringLiteral("simulated failure"));
    /// The members of the calls, in order, as "member(args)" texts: easy to compare in tests.
    QStringList trace() const;

    /// Records a call and says whether it must fail, with its description.
    QString record(const QString &object, const QString &member, const QVariantList &arguments);

private:
    struct Failure
    {
        QString member;
        int occurrence;
        QString description;
    };
    QList<Failure> m_failures;
};

/// Registers an in-process fake under "Plotviewer.application" for the lifetime of this object.
class FakePlotServerRegistration
{
public:
    FakePlotServerRegistration();
    ~FakePlotServerRegistration();
    FakePlotLog &log() { return *m_log; }

private:
    std::shared_ptr<FakePlotLog> m_log = std::make_shared<FakePlotLog>();
};
