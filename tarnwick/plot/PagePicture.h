#pragma once

#include "tarnwick/plot/PageZoom.h"
#include "tarnwick/plot/ZoomedPageDrawer.h"

#include <QLabel>

#include <optional>

/// A preview's picture box: the page's picture as the plot server drew it, and zoomed in, the page
/// drawn again for the zoom in use from its SVG, sharp at any scale. While a drawing is under way
/// the picture last drawn stands in, scaled, so that the box never waits for it.
class PagePicture : public QLabel
{
    Q_OBJECT
public:
    explicit PagePicture(QWidget *parent = nullptr);

    /// Shows `picture` whole, as the page's first view, with `svg` (empty when there is none) to
    /// draw it zoomed from.
    void showPage(const QPixmap &picture, const QByteArray &svg);
    /// The page's SVG, when it arrives after the page shows.
    void setDrawing(const QByteArray &svg);
    /// Whether the page can be zoomed: its SVG is there.
    bool canZoom() const { return !m_svg.isEmpty(); }
    const PageZoom &zoom() const { return m_zoom; }

    /// Zooms by `by` about `anchor` (a point of the box), or pans by `delta`; false when nothing
    /// changed (no SVG, a limit, an edge).
    bool zoomAbout(QPointF anchor, double by);
    bool pan(QPointF delta);
    /// Back to the whole page as first shown.
    void resetZoom();

Q_SIGNALS:
    void wheelTurned(QPointF position, QPoint angle, Qt::KeyboardModifiers modifiers);
    /// The left button was dragged by `delta`.
    void dragged(QPointF delta);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    /// Asks for the view as it now is, drawn sharp.
    void viewChanged();
    void noteDrawn(const QImage &picture, const QRectF &pageRect);
    void describeZoom();

    PageZoom m_zoom;
    QByteArray m_svg;
    ZoomedPageDrawer m_drawer;
    QImage m_sharp; // the last view drawn from the SVG
    QRectF m_sharpPage; // where the page lay in it
    std::optional<QPointF> m_dragFrom;
};
