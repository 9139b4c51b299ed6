#pragma once

#include "tarnwick/browse/EntryListView.h"

/// The print list: full paths in the order they were added, duplicates allowed.
class PrintList : public EntryListView
{
    Q_OBJECT
public:
    explicit PrintList(QWidget *parent = nullptr);

    void append(const QStringList &entries);
    /// Removes every selected entry; the others keep their order.
    void removeSelected();
    void clear();
};
