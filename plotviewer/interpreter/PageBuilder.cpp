#include "PageBuilder.h"

#include "plotviewer/model/Geometry.h"
#include "plotviewer/model/PlotUnits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace plotviewer::hpgl {

namespace {

// Pen widths noted apart in Page::fineCurves.
constexpr std::size_t mostFineCurveWidths = 16;

void shift(Page &page, Point by)
{
    for (Point &p : page.points)
        p = add(p, by);
    for (TextRun &run : page.texts)
        run.origin = add(run.origin, by);
    // A solid fill's anchor draws nothing; it stays as given.
    for (FillStyle &style : page.fillStyles) {
        if (style.pattern != FillPattern::Solid)
            style.hatchAnchor = add(style.hatchAnchor, by);
    }
}

} // namespace

PageBuilder::PageBuilder(std::size_t pointBudget)
    : m_clipper(everywhere)
    , m_budget(pointBudget)
    , m_pointBudget(pointBudget)
{ }

void PageBuilder::setClip(
    const Rect &frame, const Rect &window, const Rect &watched, const Rect &swappedFrame)
{
    m_clipper = RectClipper(intersected(frame, window));
    m_frameCut.watch(watched, window);
    m_cut.setWindow(window);
    m_framesChanged
        = m_framesChanged || (hasMarks() && (watched != m_watched || swappedFrame != m_swappedFrame));
    m_watched = watched;
    m_swappedFrame = swappedFrame;
    m_frameClips = frame != everywhere;
}

bool PageBuilder::reserve(std::size_t points)
{
    if (points > m_budget) {
        m_overBudget = true;
        m_budget = 0;
        return false;
    }
    m_budget -= points;
    return true;
}

std::uint32_t PageBuilder::strokeStyleIndex(const StrokeStyle &style)
{
    return sharedStyleIndex(m_page.strokeStyles, style, m_lastStrokeStyle);
}

std::uint32_t PageBuilder::fillStyleIndex(const FillStyle &style)
{
    return sharedStyleIndex(m_page.fillStyles, style, m_lastFillStyle);
}

void PageBuilder::appendItem(
    ItemKind kind, std::uint32_t style, std::uint32_t firstPath, std::uint32_t pathCount)
{
    if (kind != ItemKind::Text && m_page.items.size() > m_mergeFloor) {
        Item &last = m_page.items.back();
        if (last.kind == kind && last.style == style && last.firstPath + last.pathCount == firstPath
            && kind == ItemKind::Stroke) {
            last.pathCount += pathCount;
            return;
        }
    }
    m_page.items.push_back({ kind, style, firstPath, pathCount });
}

void PageBuilder::include(Point p, double margin)
{
    Rect &bounds = m_page.inkBounds;
    if (!m_haveInk) {
        bounds = { p.x - margin, p.y - margin, p.x + margin, p.y + margin };
        m_haveInk = true;
        return;
    }
    bounds.left = std::min(bounds.left, p.x - margin);
    bounds.bottom = std::min(bounds.bottom, p.y - margin);
    bounds.right = std::max(bounds.right, p.x + margin);
    bounds.top = std::max(bounds.top, p.y + margin);
}

std::uint32_t PageBuilder::appendInkedPath(std::span<const Point> points, bool closed, double margin)
{
    const std::uint32_t path = appendPath(m_page, points, closed);
    // The ink bounds grow by the corners of the points' own bounds, as they would point by point.
    Point low = points.front();
    Point high = low;
    for (const Point &p : points.subspan(1)) {
        low.x = p.x < low.x ? p.x : low.x; // as std::min and std::max choose, without a branch
        low.y = p.y < low.y ? p.y : low.y;
        high.x = high.x < p.x ? p.x : high.x;
        high.y = high.y < p.y ? p.y : high.y;
    }
    include(low, margin);
    include(high, margin);
    return path;
}

void PageBuilder::addStroke(std::span<const Point> polyline, const StrokeStyle &style, bool closed)
{
    if (m_overBudget || polyline.empty())
        return;
    // A mark the frame may cut keeps items of its own, to be drawn whole again if need be.
    const std::size_t firstItem = m_page.items.size();
    const bool beyond = m_frameCut.reachesBeyond(polyline);
    if (beyond)
        m_mergeFloor = firstItem;
    const double margin = std::max(style.width / 2, 0.5);
    double kept = 0;
    std::uint32_t styleIndex = 0;
    bool haveStyle = false;
    m_clipper.clipPolyline(polyline, [&](std::span<const Point> piece) {
        if (!reserve(piece.size()))
            return;
        if (!haveStyle) {
            styleIndex = strokeStyleIndex(style);
            haveStyle = true;
        }
        // Only a frame that cuts into the window needs to know how much ink it kept.
        if (m_frameCut.watching())
            kept += FrameCutDetector::inkAmount(piece, false);
        const bool whole = closed && piece.size() == polyline.size() && piece.front() == polyline.front()
            && piece.back() == polyline.back();
        appendItem(ItemKind::Stroke, styleIndex, appendInkedPath(piece, whole, margin), 1);
    });
    noteCut(m_frameCut.checkPolyline(polyline, kept, beyond), firstItem,
        [&] { m_cut.addStroke(polyline, style, closed, firstItem, m_page.items.size()); });
}

void PageBuilder::addFill(std::span<const std::span<const Point>> subpaths, const FillStyle &style)
{
    if (m_overBudget)
        return;
    const std::size_t firstItem = m_page.items.size();
    const auto firstPath = static_cast<std::uint32_t>(m_page.paths.size());
    bool cut = false;
    for (const std::span<const Point> subpath : subpaths) {
        // Most fills lie wholly inside the clip, which would hand back the same points.
        std::span<const Point> visible = subpath;
        if (!m_clipper.containsAll(subpath)) {
            m_clipped = m_clipper.clipPolygon({ subpath.begin(), subpath.end() });
            visible = m_clipped;
        }
        if (m_frameCut.watching())
            cut = m_frameCut.checkPolygon(
                      subpath, visible.size() < 3 ? 0 : FrameCutDetector::inkAmount(visible, true))
                || cut;
        if (visible.size() < 3 || !reserve(visible.size()))
            continue;
        appendInkedPath(visible, true, 0);
    }
    const auto count = static_cast<std::uint32_t>(m_page.paths.size()) - firstPath;
    if (count > 0)
        appendItem(ItemKind::Fill, fillStyleIndex(style), firstPath, count);
    noteCut(cut, firstItem, [&] { m_cut.addFill(subpaths, style, firstItem, m_page.items.size()); });
}

void PageBuilder::addText(const TextRun &run, const StrokeStyle &style)
{
    if (m_overBudget || run.text.empty())
        return;
    const std::size_t firstItem = m_page.items.size();
    bool cut = false;
    // Keep the characters whose cell centre is inside the clip, as runs of neighbours.
    const std::uint32_t styleIndex = strokeStyleIndex(style);
    // A character lays about as much ink as a line across its cell.
    const double characterInk = std::abs(run.advance.x) + std::abs(run.advance.y);
    std::size_t partStart = 0;
    for (std::size_t i = 0; i < run.text.size(); ++i) {
        const Point centre = characterCentre(run, i);
        const bool visible = RectClipper::isFinite(centre) && m_clipper.contains(centre);
        cut = m_frameCut.checkPoint(centre, characterInk, visible) || cut;
        if (!visible) {
            addVisibleText(run, partStart, i, styleIndex);
            partStart = i + 1;
        }
    }
    addVisibleText(run, partStart, run.text.size(), styleIndex);
    noteCut(cut, firstItem, [&] { m_cut.addText(run, style, firstItem, m_page.items.size()); });
}

void PageBuilder::addVisibleText(const TextRun &whole, std::size_t from, std::size_t to, std::uint32_t style)
{
    if (from >= to || !reserve(to - from))
        return;
    TextRun run;
    run.text = whole.text.substr(from, to - from);
    run.origin = { whole.origin.x + from * whole.advance.x, whole.origin.y + from * whole.advance.y };
    run.advance = whole.advance;
    run.up = whole.up;
    run.across = whole.across;
    run.strokeStyle = style;
    const double n = static_cast<double>(run.text.size());
    const Point end { run.origin.x + n * run.advance.x, run.origin.y + n * run.advance.y };
    const Point last { end.x - run.advance.x, end.y - run.advance.y };
    // Descenders reach about a third of the cap height below the baseline. The boxes of the first
    // and last glyphs bound the run whichever way the advance and the glyphs face.
    const Point below { -run.up.x / 3, -run.up.y / 3 };
    for (const Point &base : { run.origin, end, last, add(run.origin, run.across), add(last, run.across) }) {
        include({ base.x + below.x, base.y + below.y }, 0);
        include({ base.x + run.up.x, base.y + run.up.y }, 0);
    }
    m_page.texts.push_back(std::move(run));
    appendItem(ItemKind::Text, style, static_cast<std::uint32_t>(m_page.texts.size() - 1), 1);
}

void PageBuilder::addImage(RasterImage image)
{
    const Point right = scaled(image.across, image.width);
    const Point below = scaled(image.down, image.height);
    for (const Point &corner : { image.origin, add(image.origin, right), add(image.origin, below),
             add(add(image.origin, right), below) })
        include(corner, 0);
    m_page.images.push_back(std::move(image));
    appendItem(ItemKind::Image, 0, static_cast<std::uint32_t>(m_page.images.size() - 1), 1);
}

bool PageBuilder::imageRowsOutside(const Rect &frame) const
{
    if (frame.isEmpty())
        return false; // the page fits the drawing
    // A row is judged by the line through its middle. The rows a rectangle meets follow each other,
    // so only the first and the last can be outside when any is.
    const auto outside = [&](const RasterImage &image, std::uint32_t row) {
        const Point start = add(image.origin, scaled(image.down, row + 0.5));
        const Point end = add(start, scaled(image.across, image.width));
        return std::max(start.x, end.x) < frame.left || std::min(start.x, end.x) > frame.right
            || std::max(start.y, end.y) < frame.bottom || std::min(start.y, end.y) > frame.top;
    };
    return std::any_of(m_page.images.begin(), m_page.images.end(), [&](const RasterImage &image) {
        return image.height > 0 && (outside(image, 0) || outside(image, image.height - 1));
    });
}

void PageBuilder::addRectangle(const Rect &area, const FillStyle &style)
{
    if (m_overBudget || !reserve(4))
        return;
    const Point corners[] { { area.left, area.bottom }, { area.right, area.bottom }, { area.right, area.top },
        { area.left, area.top } };
    appendItem(ItemKind::Fill, fillStyleIndex(style), appendInkedPath(corners, true, 0), 1);
}

void PageBuilder::noteFineCurve(Point a, Point b, Point c, double penWidth)
{
    const double chord = std::min(std::hypot(b.x - a.x, b.y - a.y), std::hypot(c.x - b.x, c.y - b.y));
    const double span = std::hypot(c.x - a.x, c.y - a.y);
    const double bend
        = span > 0 ? std::abs((c.x - a.x) * (b.y - a.y) - (c.y - a.y) * (b.x - a.x)) / span : chord;
    if (!std::isfinite(chord) || !std::isfinite(bend))
        return;
    for (FineCurves &curves : m_page.fineCurves) {
        if (curves.penWidth == penWidth) {
            curves.chord = std::min(curves.chord, chord);
            curves.bend = std::min(curves.bend, bend);
            return;
        }
    }
    // A plot that changes the pen width for every curve shares the last entry: the finest chords
    // then stand for all of them.
    if (m_page.fineCurves.size() < mostFineCurveWidths)
        m_page.fineCurves.push_back({ penWidth, chord, bend });
    else
        m_page.fineCurves.back() = { penWidth, std::min(m_page.fineCurves.back().chord, chord),
            std::min(m_page.fineCurves.back().bend, bend) };
}

template<typename Keep> void PageBuilder::noteCut(bool cut, std::size_t firstItem, Keep keep)
{
    // Where the frame only watches, it cut nothing away.
    if (!cut || !m_frameClips)
        return;
    // The marks kept whole may take as many points as the page itself; past that the page can no
    // longer give way or swap, and keeps none.
    if (!m_cutsDropped) {
        keep();
        m_cutsDropped = m_cut.pointCount() > m_pointBudget;
        if (m_cutsDropped)
            m_cut = {};
    }
    m_mergeFloor = std::max(m_page.items.size(), firstItem);
}

void PageBuilder::addItem(const Page &source, const Item &item, std::vector<RasterImage> &images)
{
    // The paths are read where they lie: the page being built is another one.
    const auto path = [&](std::uint32_t n) {
        const PathSpan &span = source.paths[item.firstPath + n];
        return std::span<const Point>(source.points).subspan(span.first, span.count);
    };
    switch (item.kind) {
    case ItemKind::Stroke:
        for (std::uint32_t n = 0; n < item.pathCount; ++n)
            addStroke(path(n), source.strokeStyles[item.style], source.paths[item.firstPath + n].closed);
        break;
    case ItemKind::Fill: {
        std::vector<std::span<const Point>> subpaths;
        for (std::uint32_t n = 0; n < item.pathCount; ++n)
            subpaths.push_back(path(n));
        addFill(subpaths, source.fillStyles[item.style]);
        break;
    }
    case ItemKind::Text: {
        const TextRun &run = source.texts[item.firstPath];
        addText(run, source.strokeStyles[run.strokeStyle]);
        break;
    }
    case ItemKind::Image:
        addImage(std::move(images[item.firstPath]));
        break;
    }
}

template<typename CutClip>
void PageBuilder::rebuild(
    Page drawn, const CutMarks &cut, const Page &cutMarks, const Rect &keptClip, CutClip cutClip)
{
    m_page = Page {};
    m_page.fineCurves = std::move(drawn.fineCurves);
    m_haveInk = false;
    m_mergeFloor = 0;
    // What is drawn again was counted against the budget, and noted if cut, the first time.
    const std::size_t budget = std::exchange(m_budget, std::numeric_limits<std::size_t>::max());
    m_frameClips = false;
    m_frameCut.watch(everywhere, everywhere);
    std::size_t next = 0;
    for (std::size_t item = 0; item < drawn.items.size() || next < cut.size();) {
        if (next < cut.size() && cut.firstItem(next) <= item) {
            m_clipper = RectClipper(cutClip(next));
            addItem(cutMarks, cutMarks.items[next], drawn.images);
            item = std::max(item, cut.endItem(next));
            ++next;
            continue;
        }
        m_clipper = RectClipper(keptClip);
        addItem(drawn, drawn.items[item], drawn.images);
        ++item;
    }
    m_budget = budget;
}

void PageBuilder::restoreDrawing()
{
    if (m_cutsDropped) {
        m_overBudget = true;
        return;
    }
    if (m_cut.empty())
        return;
    const CutMarks cut = std::exchange(m_cut, {});
    rebuild(std::exchange(m_page, {}), cut, cut.marks(), everywhere,
        [&](std::size_t mark) { return cut.windowOf(mark); });
}

Rect PageBuilder::uncutReach() const
{
    Rect reach { unbounded, unbounded, -unbounded, -unbounded };
    const auto include = [&](Point p) { reach = extended(reach, p); };
    std::size_t next = 0;
    for (std::size_t i = 0; i < m_page.items.size(); ++i) {
        while (next < m_cut.size() && m_cut.endItem(next) <= i)
            ++next;
        if (next < m_cut.size() && m_cut.firstItem(next) <= i)
            continue;
        const Item &item = m_page.items[i];
        if (item.kind == ItemKind::Text) {
            const TextRun &run = m_page.texts[item.firstPath];
            for (std::size_t c = 0; c < run.text.size(); ++c)
                include(characterCentre(run, c));
        } else {
            forEachPathOf(m_page, item, [&](std::span<const Point> path) {
                for (const Point p : path)
                    include(p);
            });
        }
    }
    return reach;
}

bool PageBuilder::moveToSwappedFrame(Point shift)
{
    if (m_cut.empty() || m_cutsDropped || m_framesChanged || hasImages())
        return false;
    const Rect held = FrameCutDetector::widened(shifted(m_swappedFrame, { -shift.x, -shift.y }));
    const auto within = [&](const Rect &r) {
        return r.left > r.right
            || (r.left >= held.left && r.bottom >= held.bottom && r.right <= held.right && r.top <= held.top);
    };
    if (!within(uncutReach()))
        return false;
    if (!within(m_cut.reach()))
        return false;
    const CutMarks cut = std::exchange(m_cut, {});
    Page drawn = std::exchange(m_page, {});
    ::plotviewer::hpgl::shift(drawn, shift);
    Page cutMarks = cut.marks();
    ::plotviewer::hpgl::shift(cutMarks, shift);
    rebuild(std::move(drawn), cut, cutMarks, m_swappedFrame,
        [&](std::size_t mark) { return intersected(shifted(cut.windowOf(mark), shift), m_swappedFrame); });
    return true;
}

void PageBuilder::joinStrokes()
{
    std::vector<Item> &items = m_page.items;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (kept > 0) {
            Item &last = items[kept - 1];
            const Item &item = items[i];
            if (item.kind == ItemKind::Stroke && last.kind == ItemKind::Stroke && last.style == item.style
                && last.firstPath + last.pathCount == item.firstPath) {
                last.pathCount += item.pathCount;
                continue;
            }
        }
        items[kept++] = items[i];
    }
    items.resize(kept);
}

void PageBuilder::finishPage(const Rect &frame, std::vector<Page> &pages)
{
    // Strokes kept apart from the marks the frame cut join up as they would have.
    if (m_mergeFloor > 0)
        joinStrokes();
    if (hasMarks()) {
        m_page.frame = frame.isEmpty() ? Rect {} : frame;
        pages.push_back(std::move(m_page));
    }
    m_page = Page {};
    m_haveInk = false;
    m_frameCut.reset();
    m_cut = {};
    m_cutsDropped = false;
    m_framesChanged = false;
    m_mergeFloor = 0;
}

} // namespace plotviewer::hpgl
