#include "SvgPaintEngine.h"

#include <QBuffer>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <optional>

namespace plotviewer {

namespace {

// A stroked path element is closed and a new one begun past this much path data, so that no
// element grows too long for an editor.
constexpr qsizetype longestPathData = 64 * 1024;

/// `value` with at most one decimal.
QByteArray number(double value)
{
    const long long tenths = std::llround(value * 10);
    if (tenths % 10 == 0)
        return QByteArray::number(tenths / 10);
    return QByteArray::number(double(tenths) / 10, 'f', 1);
}

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray colourName(const QColor &colour)
{
    return colour.name(QColor::HexRgb).toLatin1();
}

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

/// Whether `path` is no more than a rectangle, as the page's own clip is.
bool isRectangle(const QPainterPath &path)
{
    QPainterPath rectangle;
    rectangle.addRect(path.boundingRect());
    return path == rectangle;
}

} // namespace

SvgPaintEngine::SvgPaintEngine(QSizeF millimetres, QSizeF units, const QString &title)
    : QPaintEngine(AllFeatures)
{
    m_svg = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
            "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" version=\"1.1\" width=\""
        + number(millimetres.width()) + "mm\" height=\"" + number(millimetres.height())
        + "mm\" viewBox=\"0 0 " + number(units.width()) + ' ' + number(units.height()) + "\">\n";
    if (!title.isEmpty())
        m_svg += "<title>" + escaped(title) + "</title>\n";
}

bool SvgPaintEngine::begin(QPaintDevice *)
{
    setActive(true);
    return true;
}

bool SvgPaintEngine::end()
{
    flushStrokes();
    closeLayer();
    m_svg += "</svg>\n";
    setActive(false);
    return true;
}

void SvgPaintEngine::startLayer(int pen, const QColor &colour)
{
    flushStrokes();
    closeLayer();
    const QString label = pen > 0 ? QStringLiteral("Pen %1 %2").arg(pen).arg(colour.name())
        : colour.isValid()        ? QStringLiteral("Without pen %1").arg(colour.name())
                                  : QStringLiteral("Raster images");
    m_svg += "<g inkscape:groupmode=\"layer\" id=\"layer" + QByteArray::number(++m_layers)
        + "\" inkscape:label=\"" + escaped(label) + "\">\n";
    m_inLayer = true;
}

void SvgPaintEngine::closeLayer()
{
    if (!std::exchange(m_inLayer, false))
        return;
    m_svg += "</g>\n";
}

void SvgPaintEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyPen)
        m_pen = state.pen();
    if (dirty & DirtyBrush)
        m_brush = state.brush();
    if (dirty & DirtyTransform)
        m_transform = state.transform();
    // The page's rectangle needs no clip: geometry arrives clipped, and the document ends there.
    // Only an area (a hatched fill's) cuts the lines drawn within it.
    if (dirty & DirtyClipPath) {
        const QPainterPath clip = state.clipPath();
        if (state.clipOperation() == Qt::NoClip || isRectangle(clip)) {
            m_clipArea.clear();
        } else {
            m_clipArea = clip.toSubpathPolygons(m_transform);
            m_clipRule = clip.fillRule();
        }
    }
    if (((dirty & DirtyClipEnabled) && !state.isClipEnabled()) || (dirty & DirtyClipRegion))
        m_clipArea.clear();
}

bool SvgPaintEngine::hasPen() const
{
    return m_pen.style() != Qt::NoPen && m_pen.brush().style() != Qt::NoBrush;
}

QByteArray SvgPaintEngine::strokeAttributes(const QPen &pen) const
{
    QByteArray look = "fill=\"none\" stroke=\"" + colourName(pen.color()) + '"';
    const double scale = std::sqrt(std::abs(m_transform.determinant()));
    if (pen.widthF() <= 0 || pen.isCosmetic())
        look += " stroke-width=\"1\" vector-effect=\"non-scaling-stroke\"";
    else
        look += " stroke-width=\"" + number(pen.widthF() * scale) + '"';
    switch (pen.capStyle()) {
    case Qt::RoundCap:
        look += " stroke-linecap=\"round\"";
        break;
    case Qt::SquareCap:
        look += " stroke-linecap=\"square\"";
        break;
    default:
        break;
    }
    switch (pen.joinStyle()) {
    case Qt::RoundJoin:
        look += " stroke-linejoin=\"round\"";
        break;
    case Qt::BevelJoin:
        look += " stroke-linejoin=\"bevel\"";
        break;
    default:
        look += " stroke-miterlimit=\"" + number(pen.miterLimit()) + '"';
        break;
    }
    return look;
}

QByteArray SvgPaintEngine::fillAttributes(const QBrush &brush, Qt::FillRule rule) const
{
    QByteArray look = "fill=\"" + colourName(brush.color()) + '"';
    if (rule == Qt::OddEvenFill)
        look += " fill-rule=\"evenodd\"";
    return look;
}

void SvgPaintEngine::appendPathData(QByteArray &data, const QPointF *points, int count, bool closed) const
{
    int first = 0;
    while (first < count && !isFinite(points[first]))
        ++first;
    if (first == count)
        return;
    const auto rounded = [this](QPointF p) {
        const QPointF mapped = m_transform.map(p);
        return std::pair { std::llround(mapped.x()), std::llround(mapped.y()) };
    };
    auto [x, y] = rounded(points[first]);
    data += 'M' + QByteArray::number(x) + ' ' + QByteArray::number(y);
    bool stepped = false;
    for (int i = first + 1; i < count; ++i) {
        if (!isFinite(points[i]))
            continue;
        const auto [nextX, nextY] = rounded(points[i]);
        if (nextX == x && nextY == y)
            continue;
        // Steps from rounded point to rounded point, so that rounding never adds up.
        const auto append = [&](long long step) {
            if (step >= 0 && data.back() != 'l')
                data += ' ';
            data += QByteArray::number(step);
        };
        if (!stepped)
            data += 'l';
        append(nextX - x);
        append(nextY - y);
        x = nextX;
        y = nextY;
        stepped = true;
    }
    // A dot, the pen touching the paper, is a step of a hundredth of a millimetre, drawn by the pen's
    // ends: renderers leave out a path of no length at all.
    if (!stepped)
        data += "h1";
    if (closed)
        data += 'z';
}

void SvgPaintEngine::strokeSubpath(const QPointF *points, int count, bool closed)
{
    // A line shorter than the document can tell is a dot: the pen touching the paper, which leaves
    // its round tip's mark (a square one's, for pens with square ends).
    QPen pen = m_pen;
    if (isDot(points, count) && pen.capStyle() != Qt::SquareCap)
        pen.setCapStyle(Qt::RoundCap);
    QByteArray look = strokeAttributes(pen);
    if (look != m_strokeLook || m_strokeData.size() > longestPathData) {
        flushStrokes();
        m_strokeLook = std::move(look);
    }
    appendPathData(m_strokeData, points, count, closed);
}

bool SvgPaintEngine::isDot(const QPointF *points, int count) const
{
    std::optional<std::pair<long long, long long>> first;
    for (int i = 0; i < count; ++i) {
        if (!isFinite(points[i]))
            continue;
        const QPointF mapped = m_transform.map(points[i]);
        const std::pair rounded { std::llround(mapped.x()), std::llround(mapped.y()) };
        if (!first)
            first = rounded;
        else if (rounded != *first)
            return false;
    }
    return true;
}

void SvgPaintEngine::flushStrokes()
{
    if (m_strokeData.isEmpty())
        return;
    m_svg += "<path " + m_strokeLook + " d=\"" + m_strokeData + "\"/>\n";
    m_strokeData.clear();
}

void SvgPaintEngine::fillPolygons(const QList<QPolygonF> &polygons, Qt::FillRule rule)
{
    if (m_brush.style() == Qt::NoBrush || polygons.isEmpty())
        return;
    flushStrokes(); // what was drawn before lies below
    QByteArray data;
    for (const QPolygonF &polygon : polygons)
        appendPathData(data, polygon.constData(), int(polygon.size()), true);
    if (!data.isEmpty())
        m_svg += "<path " + fillAttributes(m_brush, rule) + " d=\"" + data + "\"/>\n";
}

void SvgPaintEngine::drawPath(const QPainterPath &path)
{
    const QList<QPolygonF> polygons = path.toSubpathPolygons();
    fillPolygons(polygons, path.fillRule());
    if (!hasPen())
        return;
    for (const QPolygonF &polygon : polygons) {
        const bool closed = polygon.size() > 2 && polygon.isClosed();
        strokeSubpath(polygon.constData(), int(polygon.size()) - (closed ? 1 : 0), closed);
    }
}

void SvgPaintEngine::drawPolygon(const QPointF *points, int count, PolygonDrawMode mode)
{
    if (count <= 0)
        return;
    if (mode != PolylineMode) {
        fillPolygons({ QPolygonF(QList<QPointF>(points, points + count)) },
            mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
    if (hasPen())
        strokeSubpath(points, count, mode != PolylineMode);
}

void SvgPaintEngine::drawLines(const QLineF *lines, int count)
{
    if (!hasPen())
        return;
    QPainterPath area;
    area.setFillRule(m_clipRule);
    for (const QPolygonF &polygon : std::as_const(m_clipArea))
        area.addPolygon(polygon);
    for (int i = 0; i < count; ++i) {
        const QPointF ends[2] = { lines[i].p1(), lines[i].p2() };
        if (m_clipArea.isEmpty()) {
            strokeSubpath(ends, 2, false);
            continue;
        }
        // The line cut where it crosses the area's edges; the pieces whose middle is inside stay.
        const QPointF a = m_transform.map(ends[0]);
        const QPointF d = m_transform.map(ends[1]) - a;
        std::vector<double> cuts { 0, 1 };
        for (const QPolygonF &polygon : std::as_const(m_clipArea)) {
            for (qsizetype j = 0; j < polygon.size(); ++j) {
                const QPointF p = polygon[j];
                const QPointF e = polygon[(j + 1) % polygon.size()] - p;
                const double denominator = d.x() * e.y() - d.y() * e.x();
                if (denominator == 0)
                    continue;
                const QPointF ap = p - a;
                const double t = (ap.x() * e.y() - ap.y() * e.x()) / denominator;
                const double u = (ap.x() * d.y() - ap.y() * d.x()) / denominator;
                if (t > 0 && t < 1 && u >= 0 && u <= 1)
                    cuts.push_back(t);
            }
        }
        std::sort(cuts.begin(), cuts.end());
        const QTransform kept = std::exchange(m_transform, QTransform());
        for (std::size_t j = 1; j < cuts.size(); ++j) {
            if (cuts[j] - cuts[j - 1] <= 0 || !area.contains(a + d * ((cuts[j] + cuts[j - 1]) / 2)))
                continue;
            const QPointF piece[2] = { a + d * cuts[j - 1], a + d * cuts[j] };
            strokeSubpath(piece, 2, false);
        }
        m_transform = kept;
    }
}

void SvgPaintEngine::drawPoints(const QPointF *points, int count)
{
    if (!hasPen())
        return;
    for (int i = 0; i < count; ++i)
        strokeSubpath(points + i, 1, false);
}

void SvgPaintEngine::drawPixmap(const QRectF &target, const QPixmap &pixmap, const QRectF &source)
{
    drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
}

void SvgPaintEngine::drawImage(
    const QRectF &target, const QImage &image, const QRectF &source, Qt::ImageConversionFlags)
{
    if (image.isNull() || target.isEmpty())
        return;
    flushStrokes();
    const QImage shown = source == QRectF(image.rect()) ? image : image.copy(source.toAlignedRect());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    shown.save(&buffer, "PNG");
    m_svg += "<image x=\"" + number(target.x()) + "\" y=\"" + number(target.y()) + "\" width=\""
        + number(target.width()) + "\" height=\"" + number(target.height())
        + "\" preserveAspectRatio=\"none\"";
    if (!m_transform.isIdentity()) {
        m_svg += " transform=\"matrix(" + QByteArray::number(m_transform.m11()) + ' '
            + QByteArray::number(m_transform.m12()) + ' ' + QByteArray::number(m_transform.m21()) + ' '
            + QByteArray::number(m_transform.m22()) + ' ' + QByteArray::number(m_transform.dx()) + ' '
            + QByteArray::number(m_transform.dy()) + ")\"";
    }
    // Pixels enlarged stay sharp squares, as printed, unless smoothing was asked for.
    if (!(state->renderHints() & QPainter::SmoothPixmapTransform))
        m_svg += " image-rendering=\"optimizeSpeed\"";
    m_svg += " xlink:href=\"data:image/png;base64," + png.toBase64() + "\"/>\n";
}

} // namespace plotviewer
