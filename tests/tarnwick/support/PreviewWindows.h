#pragma once

#include <QApplication>
#include <QWidget>

/// The preview windows now shown.
inline QList<QWidget *> previewWindows()
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"Form2" && widget->isVisible())
            windows.append(widget);
    }
    return windows;
}
