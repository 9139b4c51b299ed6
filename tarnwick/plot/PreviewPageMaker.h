#pragma once

#include "tarnwick/automation/AutomationObject.h"

#include <QList>
#include <QObject>
#include <QTemporaryDir>

/// Has the plot server make the pictures of a preview's other pages in the background, one page at
/// a time, through a folder of its own, so that a window never waits for them. It holds the plot
/// document until every page is made or the server fails, and drops it when it is dropped itself.
class PreviewPageMaker : public QObject
{
    Q_OBJECT
public:
    /// Pages are counted from 0 and made in the order given.
    PreviewPageMaker(AutomationObject document, QList<qsizetype> pages, QObject *parent = nullptr);

    void start();
    /// Makes `page` next, if it is still to be made: the user is waiting for it.
    void prefer(qsizetype page);

Q_SIGNALS:
    void pageMade(qsizetype page, const QByteArray &picture);
    /// No more pages come: all were made, or `failure` says why not.
    void finished(const QString &failure);

private:
    void makeNext();
    void finish(const QString &failure);

    AutomationObject m_document;
    QList<qsizetype> m_pending;
    QTemporaryDir m_folder;
};
