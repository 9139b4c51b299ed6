#pragma once

#include <QListView>

class QStringListModel;

/// The print list: full paths in the order they were added, with extended multiple selection.
class PrintList : public QListView
{
    Q_OBJECT
public:
    explicit PrintList(QWidget *parent = nullptr);

    qsizetype count() const;
    QString entry(qsizetype index) const;
    void setSelected(qsizetype index, bool selected);
    void append(const QStringList &entries);
    /// Removes every selected entry; the others keep their order.
    void removeSelected();
    void clear();

private:
    QStringListModel *m_model;
};
