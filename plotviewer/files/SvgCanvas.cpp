#include "SvgCanvas.h"

#include "SvgPaintEngine.h"

#include <cmath>

namespace plotviewer {

SvgCanvas::SvgCanvas(QSizeF millimetres, const QString &title)
    : m_millimetres(millimetres)
    , m_engine(std::make_unique<SvgPaintEngine>(millimetres, millimetres * unitsPerMillimetre, title))
{ }

SvgCanvas::~SvgCanvas() = default;

QPaintEngine *SvgCanvas::paintEngine() const
{
    return m_engine.get();
}

void SvgCanvas::startLayer(int pen, const QColor &colour)
{
    m_engine->startLayer(pen, colour);
}

QByteArray SvgCanvas::document() const
{
    return m_engine->document();
}

int SvgCanvas::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return int(std::ceil(m_millimetres.width() * unitsPerMillimetre));
    case PdmHeight:
        return int(std::ceil(m_millimetres.height() * unitsPerMillimetre));
    case PdmWidthMM:
        return int(std::lround(m_millimetres.width()));
    case PdmHeightMM:
        return int(std::lround(m_millimetres.height()));
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return int(dotsPerInch);
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace plotviewer
