#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace plotviewer::test {

/// The virtual PDF printer that scripts/cups-pdf-printer.sh sets up, seen from a test: whether it
/// is ready, and the PDFs that jobs sent to it leave in its output folder.
class CupsPdfPrinter
{
public:
    /// Empty when a CUPS scheduler runs with a cups-pdf queue as the default printer and its
    /// output folder exists; otherwise why not, and how to set it up.
    QString unavailableReason();

    QString queue() const { return m_queue; }
    /// TARNWICK_PDF_DIR, else the script's default folder.
    static QString outputFolder();
    /// True when no job waits or prints on the queue (and the scheduler says so).
    bool idle() const { return pendingJobs() == QStringList(); }
    /// The ids of the jobs that wait, print or were stopped on the queue; nullopt when the
    /// scheduler does not answer.
    std::optional<QStringList> pendingJobs() const;
    /// Why the scheduler does not answer, or an empty string while it does.
    static QString schedulerProblem();
    /// The PDF a job titled `title` left in the output folder, or an empty string.
    QString pdfFor(const QString &title) const;

private:
    QString m_queue;
};

} // namespace plotviewer::test
