#include "tarnwick/browse/EntryListAccessible.h"

#include "tarnwick/browse/EntryListView.h"
#include "tarnwick/browse/EntryRowAccessible.h"

namespace {

QAccessibleInterface *entryListFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<EntryListView *>(object))
        return new EntryListAccessible(view);
    return nullptr;
}

} // namespace

EntryListAccessible::EntryListAccessible(EntryListView *view)
    : QAccessibleWidget(view, QAccessible::List)
{ }

EntryListAccessible::~EntryListAccessible()
{
    dropRows();
}

void EntryListAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(entryListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

EntryListView *EntryListAccessible::view() const
{
    return static_cast<EntryListView *>(widget());
}

QAccessible::State EntryListAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiSelectable = true;
    state.extSelectable = true;
    return state;
}

int EntryListAccessible::childCount() const
{
    return int(view()->count());
}

QAccessibleInterface *EntryListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto held = m_rows.constFind(index); held != m_rows.cend()) {
        m_useOrder.splice(m_useOrder.end(), m_useOrder, held->use);
        return QAccessible::accessibleInterface(held->id);
    }
    if (int(m_rows.size()) >= MaxRowInterfaces) {
        const int oldest = m_useOrder.front();
        m_useOrder.pop_front();
        QAccessible::deleteAccessibleInterface(m_rows.take(oldest).id);
    }
    auto *row = new EntryRowAccessible(view(), index);
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(row);
    m_rows.insert(index, { id, m_useOrder.insert(m_useOrder.end(), index) });
    return row;
}

int EntryListAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    // Only our own row interfaces are children; a stale one (its row gone) is no child any more.
    if (!child || child->role() != QAccessible::ListItem || child->parent() != this)
        return -1;
    const auto *row = static_cast<const EntryRowAccessible *>(child);
    return row->isValid() ? row->rowIndex() : -1;
}

QAccessibleInterface *EntryListAccessible::childAt(int x, int y) const
{
    const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface *EntryListAccessible::focusChild() const
{
    const QModelIndex current = view()->currentIndex();
    return view()->hasFocus() && current.isValid() ? child(current.row()) : nullptr;
}

void *EntryListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface *EntryListAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface *> EntryListAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    for (qsizetype row : view()->selectedRows()) {
        if (cells.size() == MaxRowInterfaces)
            break;
        cells.append(child(int(row)));
    }
    return cells;
}

int EntryListAccessible::selectedColumnCount() const
{
    const qsizetype rows = view()->count();
    return rows > 0 && view()->selectedCount() == rows ? 1 : 0;
}

int EntryListAccessible::selectedRowCount() const
{
    return int(view()->selectedCount());
}

QList<int> EntryListAccessible::selectedColumns() const
{
    return selectedColumnCount() ? QList<int> { 0 } : QList<int> {};
}

QList<int> EntryListAccessible::selectedRows() const
{
    const QList<qsizetype> rows = view()->selectedRows();
    return QList<int>(rows.cbegin(), rows.cend());
}

bool EntryListAccessible::isColumnSelected(int column) const
{
    return column == 0 && selectedColumnCount() == 1;
}

bool EntryListAccessible::isRowSelected(int row) const
{
    return row >= 0 && row < childCount() && view()->isSelected(row);
}

bool EntryListAccessible::selectRow(int row)
{
    return setRowSelected(row, true);
}

bool EntryListAccessible::selectColumn(int column)
{
    return setColumnSelected(column, true);
}

bool EntryListAccessible::unselectRow(int row)
{
    return setRowSelected(row, false);
}

bool EntryListAccessible::unselectColumn(int column)
{
    return setColumnSelected(column, false);
}

bool EntryListAccessible::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= childCount())
        return false;
    view()->setSelected(row, selected);
    return true;
}

bool EntryListAccessible::setColumnSelected(int column, bool selected)
{
    // The one column is every row.
    if (column != 0)
        return false;
    if (selected)
        view()->selectAll();
    else
        view()->clearSelection();
    return true;
}

void EntryListAccessible::modelChange(QAccessibleTableModelChangeEvent *)
{
    // Rows moved or went: the held items would name the wrong rows. Clients ask again.
    dropRows();
}

void EntryListAccessible::dropRows() const
{
    for (const HeldRow &row : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(row.id);
    m_rows.clear();
    m_useOrder.clear();
}
