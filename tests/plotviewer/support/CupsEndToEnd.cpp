#include "CupsEndToEnd.h"

#include "CupsPdfPrinter.h"
#include "PdfProbe.h"
#include "PictureInk.h"
#include "TiledSheets.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/files/PagedPlotWriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

namespace plotviewer::test {

namespace {

constexpr int toolTimeoutMs = 20000;
constexpr int pollMs = 200;
// A printed plot draws more than stray specks.
constexpr int leastInk = 300;
const QString installedFilter = QStringLiteral("/usr/lib/cups/filter/plottopdf");
const QString installedRules = QStringLiteral("/usr/share/cups/mime/tarnwick.types");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

std::optional<QString> lpstat(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("lpstat"), arguments);
    if (!process.waitForFinished(toolTimeoutMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

std::optional<QStringList> jobIds(const std::optional<QString> &listing)
{
    if (!listing)
        return std::nullopt;
    QStringList ids;
    for (const QString &line : listing->split(u'\n', Qt::SkipEmptyParts))
        ids << line.section(u' ', 0, 0);
    return ids;
}

QString lpPrintingProblem(CupsPdfPrinter &printer, const QString &builtFilter)
{
    if (const QString missing = PdfProbe::missingTools(); !missing.isEmpty())
        return missing;
    if (const QString problem = printer.unavailableReason(); !problem.isEmpty())
        return problem;
    const QString setUp = QStringLiteral("; run scripts/install-cups-filter.sh as root");
    if (!QFile::exists(installedRules))
        return QStringLiteral("CUPS has no rules for plot files (%1)").arg(installedRules) + setUp;
    if (fileBytes(installedFilter) != fileBytes(builtFilter))
        return QStringLiteral("%1 is missing or not the filter just built").arg(installedFilter) + setUp;
    return {};
}

bool cupsRequired()
{
    return qEnvironmentVariableIntValue("TARNWICK_REQUIRE_CUPS") == 1;
}

QString uniqueJobTitle(const QString &suite, const QString &name)
{
    return QStringLiteral("tarnwick-%1-%2-%3").arg(suite).arg(QCoreApplication::applicationPid()).arg(name);
}

QString copyForJob(const QString &source, const QString &folder, const QString &title)
{
    const QString copy = folder + u'/' + title + u'.' + QFileInfo(source).suffix();
    return QFile::copy(source, copy) ? copy : QString();
}

QString submitWithLp(const QString &file, const QString &queue, const QString &title,
    const QStringList &options, const QString &server)
{
    QStringList arguments;
    if (!server.isEmpty())
        arguments << QStringLiteral("-h") << server;
    arguments << QStringLiteral("-d") << queue << QStringLiteral("-t") << title;
    for (const QString &option : options)
        arguments << QStringLiteral("-o") << option;
    QProcess lp;
    lp.start(QStringLiteral("lp"), arguments << file);
    if (!lp.waitForFinished(toolTimeoutMs) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        qWarning("lp %s: %s", qPrintable(arguments.join(u' ')), lp.readAllStandardError().constData());
        return {};
    }
    static const QRegularExpression id(QStringLiteral("request id is (\\S+)"));
    return id.match(QString::fromLocal8Bit(lp.readAllStandardOutput())).captured(1);
}

QString waitForJobs(const std::function<bool()> &done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (const QString problem = CupsPdfPrinter::schedulerProblem(); !problem.isEmpty())
            return QStringLiteral("while the jobs printed: ") + problem;
        if (deadline.hasExpired())
            return QStringLiteral("the jobs did not print within %1 s").arg(timeoutMs / 1000);
        QTest::qWait(pollMs);
    }
    return {};
}

QImage singleInkedSheet(const QString &path, int dotsPerInch, QString *error)
{
    PdfProbe pdf;
    if (!pdf.open(path, error))
        return {};
    return singleInkedSheet(pdf, dotsPerInch, error);
}

QImage singleInkedSheet(const PdfProbe &pdf, int dotsPerInch, QString *error)
{
    if (pdf.pageCount() != 1) {
        *error = QStringLiteral("%1 has %2 pages, not one").arg(pdf.path()).arg(pdf.pageCount());
        return {};
    }
    QImage sheet = pdf.renderPage(0, dotsPerInch, error);
    if (!sheet.isNull() && inkedPixelCount(sheet) <= leastInk) {
        *error = QStringLiteral("nothing was drawn on %1").arg(pdf.path());
        return {};
    }
    return sheet;
}

QString compareWithFilterSheets(const PdfProbe &pdf, const QString &plotFile)
{
    const PlotLoader::Result loaded = PlotLoader::load(plotFile);
    if (!loaded.document)
        return loaded.error;
    if (pdf.pageCount() == 0)
        return QStringLiteral("the PDF has no pages");
    // The filter writes on the job's paper with a PDF writer's margins: plan the same.
    const QSizeF sheet = pdf.pageSize(0);
    QBuffer unused;
    QPdfWriter writer(&unused);
    writer.setPageSize(
        QPageSize(QSizeF(std::min(sheet.width(), sheet.height()), std::max(sheet.width(), sheet.height())),
            QPageSize::Point));
    const Page &page = loaded.document->plot().pages.front();
    const SheetPlan plan = PagedPlotWriter({}).planFor(writer, page);
    if (plan.sheetCount() != pdf.pageCount())
        return QStringLiteral("%1 sheets printed, %2 planned").arg(pdf.pageCount()).arg(plan.sheetCount());
    return compareJoinedSheets(pdf, 0, plan, page);
}

} // namespace plotviewer::test
