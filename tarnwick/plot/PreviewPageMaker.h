#pragma once

#include "tarnwick/automation/AutomationObject.h"

#include <QList>
#include <QObject>
#include <QTemporaryDir>

/// Has the plot server make what a preview window shows of its pages, in the background, one at a
/// time, through a folder of its own, so that the window never waits for it: each page's picture,
/// and where the server can give it, its SVG to zoom into. It holds the plot document until all is
/// made or the server fails, and drops it when it is dropped itself.
class PreviewPageMaker : public QObject
{
    Q_OBJECT
public:
    /// What to make of one page (counted from 0).
    struct Work
    {
        qsizetype page = 0;
        bool picture = true;
        bool drawing = false;
    };

    /// Makes the work in the order given.
    PreviewPageMaker(AutomationObject document, QList<Work> work, QObject *parent = nullptr);

    void start();
    /// Makes `page` next, if it is still to be made: the user is waiting for it.
    void prefer(qsizetype page);

Q_SIGNALS:
    void pageMade(qsizetype page, const QByteArray &picture);
    void drawingMade(qsizetype page, const QByteArray &svg);
    /// No more comes: all was made, or `failure` says why not.
    void finished(const QString &failure);

private:
    void makeNext();
    void finish(const QString &failure);

    AutomationObject m_document;
    QList<Work> m_pending;
    QTemporaryDir m_folder;
};
