#include "tarnwick/browse/PrintList.h"

#include "tarnwick/browse/EntryListModel.h"

PrintList::PrintList(QWidget *parent)
    : EntryListView(parent)
{
    // Long paths keep their file name in view.
    setTextElideMode(Qt::ElideMiddle);
}

void PrintList::append(const QStringList &entries)
{
    entryModel().append(entries);
}

void PrintList::removeSelected()
{
    entryModel().removeMarked(selectionMarks());
}

void PrintList::clear()
{
    entryModel().setEntries({});
}
