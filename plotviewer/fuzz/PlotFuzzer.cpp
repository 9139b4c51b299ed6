// libFuzzer entry point: interprets the buffer and checks that the display list is consistent.

#include "plotviewer/interpreter/PlotInterpreter.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkPage(const plotviewer::Page &page)
{
    using plotviewer::ItemKind;
    require(!page.items.empty());
    for (const plotviewer::Item &item : page.items) {
        if (item.kind == ItemKind::Text) {
            require(item.firstPath < page.texts.size());
            require(item.style < page.strokeStyles.size());
            continue;
        }
        require(item.firstPath + std::size_t(item.pathCount) <= page.paths.size());
        require(
            item.style < (item.kind == ItemKind::Stroke ? page.strokeStyles.size() : page.fillStyles.size()));
    }
    for (const plotviewer::PathSpan &span : page.paths)
        require(span.count > 0 && span.first + std::size_t(span.count) <= page.points.size());
    for (const plotviewer::Point &p : page.points)
        require(std::isfinite(p.x) && std::isfinite(p.y));
    const auto tintInRange = [](double tint) { return tint >= 0 && tint <= 100; };
    for (const plotviewer::StrokeStyle &style : page.strokeStyles)
        require(tintInRange(style.tint));
    for (const plotviewer::FillStyle &style : page.fillStyles)
        require(tintInRange(style.tint));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const plotviewer::InterpretResult result
        = plotviewer::interpretPlot({ reinterpret_cast<const char *>(data), size });
    require(!result.error.empty() || !result.plot.pages.empty()); // success means something to show
    for (const plotviewer::Page &page : result.plot.pages)
        checkPage(page);
    return 0;
}
