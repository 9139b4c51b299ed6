#include "tarnwick/about/LineControl.h"

#include <QPainter>

LineControl::LineControl(QPoint from, QPoint to, const QColor &colour, int width, QWidget *parent)
    : QWidget(parent)
    , m_colour(colour)
    , m_width(width)
{
    // An inside line keeps its whole width below its y coordinate.
    setGeometry(from.x(), from.y(), to.x() - from.x() + 1, width);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}
