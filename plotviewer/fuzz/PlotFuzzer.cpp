// libFuzzer entry point: surveys the buffer as the check for plot files does, interprets it and checks
// that the display list is consistent.

#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/reader/PlotContentSurvey.h"

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
        if (item.kind == ItemKind::Image) {
            require(item.firstPath < page.images.size());
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
    for (const plotviewer::RasterImage &image : page.images) {
        require(image.width > 0 && image.height > 0);
        require(image.pixels.size() == image.bytesPerRow() * image.height);
        require(image.format == plotviewer::RasterFormat::Rgb || !image.palette.empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const plotviewer::hpgl::PlotContentSurvey survey(bytes);
    require(survey.tally().total() <= size); // every byte weighed once at most
    require(survey.plotShare() >= 0 && survey.plotShare() <= 1);
    const plotviewer::InterpretResult result = plotviewer::interpretPlot(bytes);
    require(!result.error.empty() || !result.plot.pages.empty()); // success means something to show
    for (const plotviewer::Page &page : result.plot.pages)
        checkPage(page);
    return 0;
}
