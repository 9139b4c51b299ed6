#include "MessageBoxWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

MessageBoxWatcher::MessageBoxWatcher()
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxWatcher::closeOpenBox);
    m_timer.start(5);
}

void MessageBoxWatcher::closeOpenBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    m_seen.append({ box->windowTitle(), box->text(), box->icon(), box->standardButtons() });
    QAbstractButton *button = box->defaultButton();
    if (!button)
        button = box->buttons().value(0);
    if (button)
        button->click();
    else
        box->reject();
}
