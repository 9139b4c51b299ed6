#include "browse/PrintList.h"

#include <QStringListModel>

PrintList::PrintList(QWidget *parent)
    : QListView(parent)
    , m_model(new QStringListModel(this))
{
    setModel(m_model);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
}

qsizetype PrintList::count() const
{
    return m_model->rowCount();
}

QString PrintList::entry(qsizetype index) const
{
    return m_model->index(int(index)).data().toString();
}

void PrintList::setSelected(qsizetype index, bool selected)
{
    selectionModel()->select(m_model->index(int(index)),
                             selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void PrintList::append(const QStringList &entries)
{
    m_model->setStringList(m_model->stringList() + entries);
}

void PrintList::removeSelected()
{
    QStringList kept;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (!selectionModel()->isSelected(m_model->index(row)))
            kept.append(entry(row));
    }
    m_model->setStringList(kept);
}

void PrintList::clear()
{
    m_model->setStringList({});
}
