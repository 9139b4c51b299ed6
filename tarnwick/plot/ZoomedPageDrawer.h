#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QThread>

class ZoomedPageWorker;

/// Draws a page from its SVG for a zoomed view, in a thread of its own so that the window never
/// waits for it. Of the views asked for while one is drawn, only the last is drawn next.
class ZoomedPageDrawer : public QObject
{
    Q_OBJECT
public:
    explicit ZoomedPageDrawer(QObject *parent = nullptr);
    ~ZoomedPageDrawer() override;

    /// The page to draw from now on, as SVG; empty for none. Views of the page before that are
    /// still under way never arrive.
    void setDrawing(const QByteArray &svg);
    /// Asks for a view `size` pixels large (at `pixelRatio` device pixels each) onto the page lying
    /// at `pageRect` in view coordinates: drawn() brings it.
    void request(QSize size, qreal pixelRatio, QRectF pageRect);

Q_SIGNALS:
    /// The view asked for onto the page at `pageRect`, drawn on white.
    void drawn(const QImage &picture, const QRectF &pageRect);

private:
    QThread m_thread;
    ZoomedPageWorker *m_worker;
    int m_drawing = 0; // counts the pages set, to tell a late view of an earlier one
};
