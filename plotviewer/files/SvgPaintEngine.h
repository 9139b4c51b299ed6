#pragma once

#include <QByteArray>
#include <QPaintEngine>
#include <QPolygonF>
#include <QSizeF>

#include <vector>

namespace plotviewer {

/// The paint engine of SvgCanvas: writes each painted primitive as SVG markup as it comes. Strokes
/// of one look that follow each other share one path element; a layer's markup closes when the
/// next layer starts.
class SvgPaintEngine : public QPaintEngine
{
public:
    SvgPaintEngine(QSizeF millimetres, QSizeF units, const QString &title);

    void startLayer(int pen, const QColor &colour);
    const QByteArray &document() const { return m_svg; }

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    void drawPath(const QPainterPath &path) override;
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override;
    void drawLines(const QLineF *lines, int count) override;
    void drawPoints(const QPointF *points, int count) override;
    void drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source) override;
    void drawImage(const QRectF &target, const QImage &image, const QRectF &source,
        Qt::ImageConversionFlags flags) override;
    Type type() const override { return User; }

private:
    /// The attributes that stroke a path with `pen`.
    QByteArray strokeAttributes(const QPen &pen) const;
    /// Whether `points` all round to one point of the document.
    bool isDot(const QPointF *points, int count) const;
    QByteArray fillAttributes(const QBrush &brush, Qt::FillRule rule) const;
    /// Adds a subpath to the stroked path under way, which first closes when its look changes.
    void strokeSubpath(const QPointF *points, int count, bool closed);
    void fillPolygons(const QList<QPolygonF> &polygons, Qt::FillRule rule);
    void flushStrokes();
    void closeLayer();
    /// Appends path data for `points`: an absolute move, then steps between rounded points.
    void appendPathData(QByteArray &data, const QPointF *points, int count, bool closed) const;
    bool hasPen() const;

    QByteArray m_svg;
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    /// A clipping area other than a rectangle (hatching's): lines drawn meanwhile are cut to it.
    QList<QPolygonF> m_clipArea;
    Qt::FillRule m_clipRule = Qt::OddEvenFill;
    QByteArray m_strokeLook; // the attributes of the stroked path under way
    QByteArray m_strokeData; // its path data
    bool m_inLayer = false;
    int m_layers = 0;
};

} // namespace plotviewer
