#pragma once

#include <QProgressDialog>

/// The progress of a print run, window-modal on the main window. It shows itself only once the run
/// has taken, or promises to take, longer than `showAfterMs`. Cancel stops the run before the next
/// plot: the one printing when it was pressed is finished first.
class PrintProgressDialog : public QProgressDialog
{
    Q_OBJECT
public:
    static constexpr int showAfterMs = 1000;

    explicit PrintProgressDialog(QWidget *parent);

    /// The print run's PrintRun::EntryStarting: shows the plot about to print and lets the user's
    /// events through. False once the user has cancelled.
    bool entryStarting(qsizetype index, qsizetype count, const QString &path);
};
