#include "tarnwick/plot/PageZoom.h"

#include <QString>

#include <algorithm>
#include <cmath>

PageZoom::PageZoom(QSizeF view)
    : m_view(view)
{ }

QRectF PageZoom::pageRect() const
{
    return QRectF(m_offset, m_view * m_factor);
}

QString PageZoom::percent() const
{
    return QStringLiteral("%1 %").arg(std::lround(m_factor * 100));
}

bool PageZoom::zoomAbout(QPointF anchor, double by)
{
    const double factor = std::clamp(m_factor * by, 1.0, largest);
    if (factor == m_factor)
        return false;
    // The page point under the anchor stays under it.
    const QPointF onPage = (anchor - m_offset) / m_factor;
    m_factor = factor;
    m_offset = anchor - onPage * m_factor;
    keepInView();
    return true;
}

bool PageZoom::pan(QPointF delta)
{
    const QPointF before = m_offset;
    m_offset += delta;
    keepInView();
    return m_offset != before;
}

void PageZoom::reset()
{
    m_factor = 1;
    m_offset = {};
}

void PageZoom::keepInView()
{
    const QSizeF page = m_view * m_factor;
    m_offset.setX(std::clamp(m_offset.x(), m_view.width() - page.width(), 0.0));
    m_offset.setY(std::clamp(m_offset.y(), m_view.height() - page.height(), 0.0));
}
