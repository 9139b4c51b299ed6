#pragma once

#include "FakePlotServer.h"

/// Common ground of the fake's objects: the error source and the log.
class FakeObject : public QObject, public AutomationErrorSource
{
    Q_OBJECT
    Q_INTERFACES(AutomationErrorSource)
public:
    FakeObject(std::shared_ptr<FakePlotLog> log, QString name);
    QString takeError() override;

protected:
    /// Records the call; true when it is to go ahead, false when it was made to fail.
    bool called(const char *member, const QVariantList &arguments = {});
    std::shared_ptr<FakePlotLog> m_log;
    QString m_name;
    QString m_error;
};

class FakePlotServer : public FakeObject
{
    Q_OBJECT
public:
    explicit FakePlotServer(std::shared_ptr<FakePlotLog> log);
    ~FakePlotServer() override;
    Q_INVOKABLE QObject *Open(const QString &path);
    Q_INVOKABLE void PrintSetup();
};

class FakePlotDocument : public FakeObject
{
    Q_OBJECT
public:
    FakePlotDocument(std::shared_ptr<FakePlotLog> log, int number, QString path);
    ~FakePlotDocument() override;
    Q_INVOKABLE void SetColorMode(short mode);
    Q_INVOKABLE void ActualSize();
    Q_INVOKABLE void DoPrint();
    Q_INVOKABLE void SaveTo(const QString &path);

protected:
    /// Writes the picture of `page` (from 1) to `path`.
    void savePicture(const QString &path, int page);

    int m_number;

private:
    QString m_path;
    short m_colourMode = 1;
};

/// A document of a server that tells of its pages.
class FakePagedPlotDocument : public FakePlotDocument
{
    Q_OBJECT
public:
    using FakePlotDocument::FakePlotDocument;
    Q_INVOKABLE int PageCount();
    Q_INVOKABLE int PreviewPage();
    Q_INVOKABLE void SavePageTo(int page, const QString &path);
};
