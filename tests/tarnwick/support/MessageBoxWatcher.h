#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

/// A modal message box as the user saw it.
struct SeenMessageBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

/// While it lives, closes every modal message box that opens (with its default or only button)
/// and records what it showed, so tests can drive handlers that report through message boxes.
class MessageBoxWatcher : public QObject
{
    Q_OBJECT
public:
    MessageBoxWatcher();
    const QList<SeenMessageBox> &seen() const { return m_seen; }
    int count() const { return int(m_seen.size()); }

private:
    void closeOpenBox();

    QTimer m_timer;
    QList<SeenMessageBox> m_seen;
};
