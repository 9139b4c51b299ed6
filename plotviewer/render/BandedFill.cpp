#include "BandedFill.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace plotviewer {

namespace {

// Outlines up to this many points go to Qt whole; beyond it they are halved until the pieces are
// this small, or the bands this few rows high.
constexpr std::size_t largestPiece = 256;
constexpr int thinnestBand = 4;

std::size_t pointCount(const BandedFill::Contours &contours)
{
    std::size_t count = 0;
    for (const auto &contour : contours)
        count += contour.size();
    return count;
}

// The part of a closed contour on one side of the row boundary y (Sutherland-Hodgman against one
// line): the winding number of every point on that side stays as it was.
void keepSide(const std::vector<QPointF> &contour, double y, bool above, std::vector<QPointF> &part)
{
    part.clear();
    const auto inside = [y, above](QPointF p) { return above ? p.y() <= y : p.y() >= y; };
    QPointF previous = contour.back();
    bool previousInside = inside(previous);
    for (const QPointF current : contour) {
        const bool currentInside = inside(current);
        if (currentInside != previousInside) {
            const double t = (y - previous.y()) / (current.y() - previous.y());
            part.emplace_back(previous.x() + t * (current.x() - previous.x()), y);
        }
        if (currentInside)
            part.push_back(current);
        previous = current;
        previousInside = currentInside;
    }
    if (part.size() < 3)
        part.clear();
}

void fillWhole(
    QPainter &painter, const BandedFill::Contours &contours, Qt::FillRule rule, const QBrush &brush)
{
    QPainterPath path;
    path.setFillRule(rule);
    for (const auto &contour : contours) {
        if (contour.size() >= 3)
            BandedFill::addContour(path, contour);
    }
    painter.fillPath(path, brush);
}

void fillRows(QPainter &painter, BandedFill::Contours &contours, int top, int bottom, Qt::FillRule rule,
    const QBrush &brush)
{
    if (bottom - top <= thinnestBand || pointCount(contours) <= largestPiece) {
        fillWhole(painter, contours, rule, brush);
        return;
    }
    const int middle = top + (bottom - top) / 2;
    BandedFill::Contours upper;
    std::vector<QPointF> part;
    for (auto &contour : contours) {
        keepSide(contour, middle, true, part);
        if (!part.empty())
            upper.push_back(part);
        keepSide(contour, middle, false, part);
        contour.swap(part);
    }
    std::erase_if(contours, [](const std::vector<QPointF> &contour) { return contour.empty(); });
    fillRows(painter, upper, top, middle, rule, brush);
    upper = {};
    fillRows(painter, contours, middle, bottom, rule, brush);
}

} // namespace

void BandedFill::addContour(QPainterPath &path, const std::vector<QPointF> &contour)
{
    path.moveTo(contour.front());
    for (std::size_t i = 1; i < contour.size(); ++i)
        path.lineTo(contour[i]);
    path.closeSubpath();
}

bool BandedFill::suits(const QPainter &painter)
{
    const QTransform transform = painter.deviceTransform();
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster
        && transform.type() <= QTransform::TxTranslate && transform.dy() == std::round(transform.dy());
}

bool BandedFill::worthCutting(std::size_t points)
{
    return points > 2 * largestPiece;
}

void BandedFill::fill(QPainter &painter, Contours &contours, Qt::FillRule rule, const QBrush &brush)
{
    double top = qInf();
    double bottom = -qInf();
    for (const auto &contour : contours) {
        for (const QPointF p : contour) {
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    }
    if (!(top <= bottom))
        return;
    fillRows(painter, contours, int(std::floor(top)), int(std::ceil(bottom)), rule, brush);
}

} // namespace plotviewer
