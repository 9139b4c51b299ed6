#include "tarnwick/browse/IndentDelegate.h"

IndentDelegate::IndentDelegate(int depthRole, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_depthRole(depthRole)
{ }

void IndentDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem indented(option);
    indented.rect.setLeft(option.rect.left() + indentOf(option, index));
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize IndentDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indentOf(option, index), 0);
}

int IndentDelegate::indentOf(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Half an icon a level: each folder starts under the middle of its parent's.
    return index.data(m_depthRole).toInt() * (option.decorationSize.width() / 2 + 2);
}
