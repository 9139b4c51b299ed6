#include "tarnwick/browse/EntryRowAccessible.h"

#include "tarnwick/browse/EntryListView.h"

#include <QWidget>

EntryRowAccessible::EntryRowAccessible(EntryListView *view, int row)
    : m_view(view)
    , m_row(row)
{ }

bool EntryRowAccessible::isValid() const
{
    return m_view && m_row < m_view->count();
}

QWindow *EntryRowAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *EntryRowAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QString EntryRowAccessible::text(QAccessible::Text t) const
{
    return t == QAccessible::Name && isValid() ? m_view->entry(m_row) : QString();
}

QRect EntryRowAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect onViewport = m_view->visualRect(m_view->model()->index(m_row, 0));
    return QRect(m_view->viewport()->mapToGlobal(onViewport.topLeft()), onViewport.size());
}

QAccessible::State EntryRowAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = isSelected();
    const bool current = m_view->currentIndex().row() == m_row;
    state.focused = current && m_view->hasFocus();
    state.active = current;
    if (!m_view->viewport()->rect().intersects(m_view->visualRect(m_view->model()->index(m_row, 0))))
        state.offscreen = true;
    return state;
}

void *EntryRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this)
                                                   : nullptr;
}

bool EntryRowAccessible::isSelected() const
{
    return isValid() && m_view->isSelected(m_row);
}
