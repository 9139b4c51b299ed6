#include "tarnwick/plot/PreviewPages.h"

PreviewPages::PreviewPages()
    : m_pictures(1)
{ }

PreviewPages::PreviewPages(qsizetype total, qsizetype first, QList<QByteArray> pictures, qsizetype current)
    : m_total(total)
    , m_first(first)
    , m_pictures(std::move(pictures))
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

QString PreviewPages::caption(const QString &plotName, qsizetype page) const
{
    const QString caption = QStringLiteral("Preview of : ") + plotName;
    if (m_total == 1)
        return caption;
    if (m_pictures.size() == m_total)
        return caption + QStringLiteral(" (page %1 of %2)").arg(page + 1).arg(m_total);
    return caption
        + QStringLiteral(" (page %1 of %2; pages %3 to %4 shown)")
              .arg(page + 1)
              .arg(m_total)
              .arg(m_first + 1)
              .arg(m_first + m_pictures.size());
}
