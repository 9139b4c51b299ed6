#pragma once

#include <QListView>
#include <vector>

class EntryListModel;

/// A list of texts with extended multiple selection (click, Shift range, Ctrl toggle), fast at any
/// size: selections change in whole ranges and are read by walking their ranges, never row by row.
class EntryListView : public QListView
{
    Q_OBJECT
public:
    explicit EntryListView(QWidget *parent = nullptr);

    qsizetype count() const;
    QString entry(qsizetype row) const;
    const QStringList &entries() const;

    /// Costs a walk of the selection's ranges; use selectedRows() for many rows.
    bool isSelected(qsizetype row) const;
    void setSelected(qsizetype row, bool selected);
    /// The selected rows, ascending.
    QList<qsizetype> selectedRows() const;
    /// How many rows are selected, without listing them.
    qsizetype selectedCount() const;
    /// Adds `rows` to the selection in one step; earlier selections stay.
    void selectRows(QList<qsizetype> rows);

protected:
    EntryListModel &entryModel() const { return *m_model; }
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    /// One mark a row, set where the row is selected.
    std::vector<bool> selectionMarks() const;

private:
    EntryListModel *m_model;
};
