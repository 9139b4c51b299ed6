#include "tarnwick/browse/EntryListView.h"

#include "tarnwick/browse/EntryListAccessible.h"
#include "tarnwick/browse/EntryListModel.h"

#include <QAccessible>
#include <QItemSelection>
#include <algorithm>

EntryListView::EntryListView(QWidget *parent)
    : QListView(parent)
    , m_model(new EntryListModel(this))
{
    setModel(m_model);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    // Without this the view measures every row's text on each layout: seconds for a long list.
    setUniformItemSizes(true);
    EntryListAccessible::install();
}

qsizetype EntryListView::count() const
{
    return m_model->entries().size();
}

QString EntryListView::entry(qsizetype row) const
{
    return m_model->entries().value(row);
}

const QStringList &EntryListView::entries() const
{
    return m_model->entries();
}

bool EntryListView::isSelected(qsizetype row) const
{
    return selectionModel()->isSelected(m_model->index(int(row)));
}

void EntryListView::setSelected(qsizetype row, bool selected)
{
    selectionModel()->select(
        m_model->index(int(row)), selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

std::vector<bool> EntryListView::selectionMarks() const
{
    std::vector<bool> marks(size_t(count()), false);
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        if (!range.isValid())
            continue;
        std::fill(marks.begin() + range.top(), marks.begin() + range.bottom() + 1, true);
    }
    return marks;
}

QList<qsizetype> EntryListView::selectedRows() const
{
    if (!selectionModel()->hasSelection())
        return {}; // spares a walk of every row
    const std::vector<bool> marks = selectionMarks();
    QList<qsizetype> rows;
    for (size_t row = 0; row < marks.size(); ++row) {
        if (marks[row])
            rows.append(qsizetype(row));
    }
    return rows;
}

qsizetype EntryListView::selectedCount() const
{
    if (!selectionModel()->hasSelection())
        return 0;
    const std::vector<bool> marks = selectionMarks();
    return std::count(marks.begin(), marks.end(), true);
}

QRegion EntryListView::visualRegionForSelection(const QItemSelection &selection) const
{
    // The base class measures every range, building a style option for each: with a selection of
    // thousands of pieces that costs more than the change itself. Only the rows in view matter.
    const QModelIndex first = indexAt(viewport()->rect().topLeft());
    if (!first.isValid())
        return {}; // nothing laid out in view yet: the layout repaints everything

    const QModelIndex last = indexAt(viewport()->rect().bottomLeft());
    const int lastRow = last.isValid() ? last.row() : int(count()) - 1;
    QItemSelection inView;
    for (const QItemSelectionRange &range : selection) {
        const int top = std::max(range.top(), first.row());
        const int bottom = std::min(range.bottom(), lastRow);
        if (top <= bottom)
            inView.append(QItemSelectionRange(m_model->index(top), m_model->index(bottom)));
    }
    return QListView::visualRegionForSelection(inView);
}

void EntryListView::selectRows(QList<qsizetype> rows)
{
    // Callers mostly pass rows found in list order: sorting them again costs more than the check.
    if (!std::is_sorted(rows.cbegin(), rows.cend()))
        std::sort(rows.begin(), rows.end());
    const auto end = std::upper_bound(rows.cbegin(), rows.cend(), count() - 1);
    auto first = std::lower_bound(rows.cbegin(), end, 0);
    QItemSelection selection;
    while (first != end) {
        auto last = first;
        while (last + 1 != end && *(last + 1) <= *last + 1)
            ++last;
        const QModelIndex top = m_model->index(int(*first));
        // A one-row range copies its persistent index instead of looking the row up a second time.
        selection.append(*first == *last ? QItemSelectionRange(top)
                                         : QItemSelectionRange(top, m_model->index(int(*last))));
        first = last + 1;
    }
    if (!selection.isEmpty())
        selectionModel()->select(selection, QItemSelectionModel::Select);
}

void EntryListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    // The list view's own announcement lists every index of the change, a walk of every row after
    // "select all"; one row changed is told as that row, anything larger as one event for the list.
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    const auto oneRow = [](const QItemSelection &selection) {
        return selection.size() == 1 && selection.first().height() == 1;
    };
    if (oneRow(selected) && deselected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionAdd);
        event.setChild(selected.first().top());
        QAccessible::updateAccessibility(&event);
    } else if (oneRow(deselected) && selected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionRemove);
        event.setChild(deselected.first().top());
        QAccessible::updateAccessibility(&event);
    } else if (!selected.isEmpty() || !deselected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
    }
}
