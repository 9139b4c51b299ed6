#include "CupsPdfPrinter.h"

#include "CupsEndToEnd.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace plotviewer::test {

QString CupsPdfPrinter::unavailableReason()
{
    const QString setUp = QStringLiteral("; run scripts/cups-pdf-printer.sh as root to set it up");
    if (!schedulerProblem().isEmpty())
        return schedulerProblem() + setUp;
    m_queue = lpstat({ QStringLiteral("-d") }).value_or(QString()).section(QLatin1String(": "), 1).trimmed();
    if (m_queue.isEmpty())
        return QStringLiteral("CUPS has no default printer") + setUp;
    const QString device = lpstat({ QStringLiteral("-v"), m_queue }).value_or(QString());
    if (!device.contains(QLatin1String(": cups-pdf:/")))
        return QStringLiteral("the default printer %1 is not a cups-pdf queue (%2)").arg(m_queue, device)
            + setUp;
    if (!QDir(outputFolder()).exists())
        return QStringLiteral("the PDF folder %1 does not exist").arg(outputFolder()) + setUp;
    return {};
}

QString CupsPdfPrinter::outputFolder()
{
    const QString folder = qEnvironmentVariable("TARNWICK_PDF_DIR");
    return folder.isEmpty() ? QStringLiteral("/var/spool/tarnwick-pdf") : folder;
}

std::optional<QStringList> CupsPdfPrinter::pendingJobs() const
{
    // A scheduler that does not answer has no jobs to list, yet nothing printed is idle either.
    return jobIds(lpstat({ QStringLiteral("-o"), m_queue }));
}

QString CupsPdfPrinter::schedulerProblem()
{
    if (lpstat({ QStringLiteral("-r") }) != QLatin1String("scheduler is running"))
        return QStringLiteral("no CUPS scheduler is running (lpstat -r)");
    return {};
}

QString CupsPdfPrinter::pdfFor(const QString &title) const
{
    // cups-pdf names the file after the job title, without its extension and with characters
    // unsafe in file names replaced, then adds a job label.
    QString stem = QFileInfo(title).completeBaseName();
    stem.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    const QRegularExpression name(
        QStringLiteral("^%1([^A-Za-z0-9].*)?\\.pdf$").arg(QRegularExpression::escape(stem)));
    const QDir folder(outputFolder());
    for (const QString &file : folder.entryList({ QStringLiteral("*.pdf") }, QDir::Files, QDir::Time)) {
        if (name.match(file).hasMatch())
            return folder.filePath(file);
    }
    return {};
}

} // namespace plotviewer::test
