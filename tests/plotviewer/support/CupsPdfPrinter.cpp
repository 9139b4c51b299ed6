#include "CupsPdfPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace plotviewer::test {

namespace {

constexpr int toolTimeoutMs = 20000;

QString lpstat(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("lpstat"), arguments);
    if (!process.waitForFinished(toolTimeoutMs))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace

QString CupsPdfPrinter::unavailableReason()
{
    const QString setUp = QStringLiteral("; run scripts/cups-pdf-printer.sh as root to set it up");
    if (lpstat({ QStringLiteral("-r") }) != QLatin1String("scheduler is running"))
        return QStringLiteral("no CUPS scheduler is running (lpstat -r)") + setUp;
    m_queue = lpstat({ QStringLiteral("-d") }).section(QLatin1String(": "), 1).trimmed();
    if (m_queue.isEmpty())
        return QStringLiteral("CUPS has no default printer") + setUp;
    const QString device = lpstat({ QStringLiteral("-v"), m_queue });
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

bool CupsPdfPrinter::idle() const
{
    return lpstat({ QStringLiteral("-o"), m_queue }).isEmpty();
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
