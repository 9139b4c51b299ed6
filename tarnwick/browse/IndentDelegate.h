#pragma once

#include <QStyledItemDelegate>

/// Draws each row of a flat list indented by its depth, so the list reads as a tree.
class IndentDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    /// `depthRole` is the model's role that gives a row's depth.
    IndentDelegate(int depthRole, QObject *parent = nullptr);

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int indentOf(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    int m_depthRole;
};
