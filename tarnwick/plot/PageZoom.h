#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

/// How a preview shows its page: the zoom, as a factor of the first view, and which part of the
/// page the view shows. The view is the first view's picture box, which keeps its size; at 1 it
/// shows the whole page as first shown. Points are in view coordinates (pixels of the first view's
/// picture); the page, zoomed, is a rectangle the view looks into, never past its edges.
class PageZoom
{
public:
    static constexpr double largest = 64;
    /// One step of the wheel, of + and of -.
    static constexpr double step = 1.25;

    explicit PageZoom(QSizeF view = {});

    double factor() const { return m_factor; }
    bool isFirstView() const { return m_factor == 1; }
    /// Where the whole page lies, zoomed, in view coordinates: the view shows what of it falls in
    /// the view.
    QRectF pageRect() const;
    /// The factor as the user reads it: "400 %".
    QString percent() const;

    /// Zooms by `by` keeping the point of the page under `anchor` where it is; within 1 and
    /// `largest`. False when nothing changed.
    bool zoomAbout(QPointF anchor, double by);
    /// Zooms by `by` about the view's centre.
    bool zoomCentred(double by) { return zoomAbout(QRectF(QPointF(), m_view).center(), by); }
    /// Moves the page by `delta` under the view, as far as its edges allow. False when it did not move.
    bool pan(QPointF delta);
    /// Back to the whole page as first shown.
    void reset();

private:
    void keepInView();

    QSizeF m_view;
    double m_factor = 1;
    QPointF m_offset; // the page's top-left corner, in view coordinates: never right of or below 0
};
