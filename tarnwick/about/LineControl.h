#pragma once

#include <QColor>
#include <QWidget>

/// A straight line drawn as a control of its own, as dialogs of the classic kind lay them out.
class LineControl : public QWidget
{
    Q_OBJECT
public:
    /// A horizontal line from `from` to `to` (same y) in the parent's pixels.
    LineControl(QPoint from, QPoint to, const QColor &colour, int width, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
    int m_width;
};
