#include "PdfProbe.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace plotviewer::test {

namespace {

constexpr int toolTimeoutMs = 60000;

bool runTool(const QString &tool, const QStringList &arguments, QByteArray *output, QString *error)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(toolTimeoutMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *error = QStringLiteral("%1 %2 failed: %3 %4")
                     .arg(tool, arguments.join(QLatin1Char(' ')), process.errorString(),
                         QString::fromLocal8Bit(process.readAllStandardError()));
        return false;
    }
    *output = process.readAllStandardOutput();
    return true;
}

} // namespace

QString PdfProbe::missingTools()
{
    for (const QString &tool :
        { QStringLiteral("pdfinfo"), QStringLiteral("pdftoppm"), QStringLiteral("pdftotext") }) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return QStringLiteral("%1 is not installed (Debian package poppler-utils)").arg(tool);
    }
    return {};
}

bool PdfProbe::open(const QString &path, QString *error)
{
    m_path = path;
    m_pageSizes.clear();
    QByteArray summary;
    if (!runTool(QStringLiteral("pdfinfo"), { path }, &summary, error))
        return false;
    const QString text = QString::fromUtf8(summary);
    m_title = QRegularExpression(QStringLiteral("^Title:\\s*(.*)$"), QRegularExpression::MultilineOption)
                  .match(text)
                  .captured(1)
                  .trimmed();
    const int pages
        = QRegularExpression(QStringLiteral("^Pages:\\s*(\\d+)"), QRegularExpression::MultilineOption)
              .match(text)
              .captured(1)
              .toInt();
    QByteArray perPage;
    if (pages > 0
        && !runTool(QStringLiteral("pdfinfo"),
            { QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QString::number(pages), path },
            &perPage, error)) {
        return false;
    }
    const QString pageText = QString::fromUtf8(perPage);
    static const QRegularExpression sizeLine(
        QStringLiteral("^Page\\s+\\d+ size:\\s*([\\d.]+) x ([\\d.]+) pts"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression rotationLine(
        QStringLiteral("^Page\\s+\\d+ rot:\\s*(\\d+)"), QRegularExpression::MultilineOption);
    auto sizes = sizeLine.globalMatch(pageText);
    auto rotations = rotationLine.globalMatch(pageText);
    while (sizes.hasNext()) {
        const auto size = sizes.next();
        const int rotation = rotations.hasNext() ? rotations.next().captured(1).toInt() : 0;
        QSizeF points(size.captured(1).toDouble(), size.captured(2).toDouble());
        m_pageSizes.append(rotation % 180 == 90 ? points.transposed() : points);
    }
    if (m_pageSizes.size() != pages) {
        *error = QStringLiteral("pdfinfo listed %1 pages but %2 page sizes for %3")
                     .arg(pages)
                     .arg(m_pageSizes.size())
                     .arg(path);
        return false;
    }
    return true;
}

QImage PdfProbe::renderPage(int index, int dotsPerInch, QString *error) const
{
    QTemporaryDir folder;
    const QString base = folder.filePath(QStringLiteral("page"));
    const QString page = QString::number(index + 1);
    QByteArray ignored;
    if (!runTool(QStringLiteral("pdftoppm"),
            { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dotsPerInch),
                QStringLiteral("-f"), page, QStringLiteral("-l"), page, QStringLiteral("-singlefile"), m_path,
                base },
            &ignored, error)) {
        return {};
    }
    QImage picture(base + QStringLiteral(".png"));
    if (picture.isNull())
        *error = QStringLiteral("pdftoppm wrote no picture for page %1 of %2").arg(page, m_path);
    return picture;
}

QString PdfProbe::pageText(int index, QString *error) const
{
    const QString page = QString::number(index + 1);
    QByteArray text;
    if (!runTool(QStringLiteral("pdftotext"),
            { QStringLiteral("-f"), page, QStringLiteral("-l"), page, m_path, QStringLiteral("-") }, &text,
            error))
        return {};
    return QString::fromUtf8(text);
}

} // namespace plotviewer::test
