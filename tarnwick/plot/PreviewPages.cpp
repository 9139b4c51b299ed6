#include "tarnwick/plot/PreviewPages.h"

#include <algorithm>

PreviewPages::PreviewPages()
    : m_pictures(1)
    , m_drawings(1)
{ }

PreviewPages::PreviewPages(qsizetype total, qsizetype first, QList<QByteArray> pictures, qsizetype current)
    : m_total(total)
    , m_first(first)
    , m_pictures(std::move(pictures))
    , m_drawings(m_pictures.size())
    , m_current(current)
{
    Q_ASSERT(first >= 0 && first + m_pictures.size() <= total);
    Q_ASSERT(current >= first && current < first + m_pictures.size());
}

bool PreviewPages::isPageKey(int key)
{
    return key == Qt::Key_PageDown || key == Qt::Key_PageUp || key == Qt::Key_Home || key == Qt::Key_End;
}

qsizetype PreviewPages::pageForKey(int key) const
{
    const qsizetype last = m_first + m_pictures.size() - 1;
    qsizetype page = -1;
    switch (key) {
    case Qt::Key_PageDown:
        page = m_current + 1;
        break;
    case Qt::Key_PageUp:
        page = m_current - 1;
        break;
    case Qt::Key_Home:
        page = m_first;
        break;
    case Qt::Key_End:
        page = last;
        break;
    default:
        break;
    }
    return page >= m_first && page <= last && page != m_current ? page : -1;
}

QByteArray PreviewPages::drawing(qsizetype page) const
{
    const QByteArray &kept = m_drawings.at(page - m_first);
    return kept.isEmpty() ? QByteArray() : qUncompress(kept);
}

void PreviewPages::setDrawing(qsizetype page, const QByteArray &svg)
{
    m_drawings[page - m_first] = svg.isEmpty() ? QByteArray() : qCompress(svg, 1);
}

qsizetype PreviewPages::madeCount() const
{
    return std::count_if(
        m_pictures.cbegin(), m_pictures.cend(), [](const QByteArray &p) { return !p.isEmpty(); });
}

QString PreviewPages::caption(
    const QString &plotName, qsizetype page, bool stopped, const QString &zoom) const
{
    const QString caption = QStringLiteral("Preview of : ") + plotName;
    if (m_total == 1)
        return zoom.isEmpty() ? caption : caption + QStringLiteral(" (%1)").arg(zoom);
    QString pages = QStringLiteral("page %1 of %2").arg(page + 1).arg(m_total);
    if (!zoom.isEmpty())
        pages += QStringLiteral(", ") + zoom;
    if (m_pictures.size() != m_total)
        pages += QStringLiteral("; pages %1 to %2 shown").arg(m_first + 1).arg(last() + 1);
    if (!isMade(page))
        pages += stopped ? QStringLiteral(", not made") : QStringLiteral(", being made");
    if (stopped)
        pages += QStringLiteral("; the plot server stopped after %1 of them").arg(madeCount());
    return caption + QStringLiteral(" (%1)").arg(pages);
}
