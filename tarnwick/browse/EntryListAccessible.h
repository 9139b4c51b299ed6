#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <list>

class EntryListView;

/// What a screen reader sees of an EntryListView: a list (with the table interface a one-column
/// list offers) whose rows are EntryRowAccessible items. Row interfaces are made only for rows a
/// client asks for, and at most MaxRowInterfaces are kept, the least recently asked for going
/// first; any change of the rows drops them all in one step. So a client walking every row of a
/// long list, or a change of thousands of rows, costs no more than the rows it really touches.
class EntryListAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    static constexpr int MaxRowInterfaces = 512;

    explicit EntryListAccessible(EntryListView *view);
    ~EntryListAccessible() override;

    /// Makes Qt use this class for every EntryListView; safe to call again.
    static void install();

    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    /// The selected rows' items, at most MaxRowInterfaces of them (the first ones).
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

    /// How many row interfaces are held now.
    int heldRows() const { return int(m_rows.size()); }

private:
    EntryListView *view() const;
    bool setRowSelected(int row, bool selected);
    bool setColumnSelected(int column, bool selected);
    void dropRows() const;

    struct HeldRow
    {
        QAccessible::Id id;
        std::list<int>::iterator use;
    };
    // Mutable: handing out a row's interface is a const query to Qt.
    mutable QHash<int, HeldRow> m_rows;
    mutable std::list<int> m_useOrder; // least recently asked for first
};
