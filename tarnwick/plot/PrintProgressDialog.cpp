#include "tarnwick/plot/PrintProgressDialog.h"

#include "resources/VersionRecord.h"

#include <QFileInfo>

PrintProgressDialog::PrintProgressDialog(QWidget *parent)
    : QProgressDialog(parent)
{
    setObjectName(QStringLiteral("printProgress"));
    setWindowTitle(QString::fromUtf8(VersionRecord::Title));
    setWindowModality(Qt::WindowModal);
    // The dialog goes with the run; hiding at the last value would only make it flicker.
    setAutoClose(false);
    setAutoReset(false);
    setMinimumDuration(showAfterMs);
}

bool PrintProgressDialog::entryStarting(qsizetype index, qsizetype count, const QString &path)
{
    setMaximum(int(count));
    setLabelText(QStringLiteral("Printing file %1 of %2: %3")
                     .arg(index + 1)
                     .arg(count)
                     .arg(QFileInfo(path).fileName()));
    // The plot server's calls hold the event loop up: once the dialog shows, this is where the
    // user's events, Cancel among them, get handled.
    setValue(int(index));
    return !wasCanceled();
}
