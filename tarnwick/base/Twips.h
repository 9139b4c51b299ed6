#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

/// Window layouts are given in twips (1/1440 inch); this maps them to pixels through the screen's
/// logical resolution, 15 twips a pixel at 96 DPI.
class Twips
{
public:
    explicit Twips(const QWidget &widget)
        : m_dpiX(widget.logicalDpiX())
        , m_dpiY(widget.logicalDpiY())
    { }
    int x(double twips) const { return int(std::lround(twips * m_dpiX / 1440.0)); }
    int y(double twips) const { return int(std::lround(twips * m_dpiY / 1440.0)); }
    QRect rect(double left, double top, double width, double height) const
    {
        return { x(left), y(top), x(width), y(height) };
    }
    QSize size(double width, double height) const { return { x(width), y(height) }; }

private:
    int m_dpiX;
    int m_dpiY;
};
