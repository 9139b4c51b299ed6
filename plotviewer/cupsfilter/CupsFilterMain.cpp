#include "CupsFilterMain.h"

#include "CupsJobOptions.h"
#include "plotviewer/document/PenTableFile.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/files/PdfFile.h"
#include "plotviewer/headless/ProcessLimits.h"

#include <QBuffer>
#include <QFile>
#include <QTextStream>

namespace plotviewer {

namespace {

enum FilterArgument { Program, JobId, User, Title, Copies, Options, File, MostArguments };

int fail(QTextStream &log, const QString &message)
{
    log << "ERROR: " << message << '\n';
    log.flush();
    return 1;
}

int print(const QStringList &arguments, QFile &standardInput, QIODevice &output, QTextStream &log,
    const FontSupport &fonts, const QString &penTable)
{
    if (arguments.size() != MostArguments && arguments.size() != MostArguments - 1) {
        return fail(log,
            QStringLiteral("usage: %1 job-id user title copies options [file]")
                .arg(arguments.value(Program)));
    }
    // Messages name the job as its owner knows it, not CUPS's spool file.
    const QString title = arguments[Title];
    const bool fromFile = arguments.size() == MostArguments;
    QString name = title;
    if (name.isEmpty())
        name = fromFile ? arguments[File] : QStringLiteral("standard input");
    QFile file;
    if (fromFile) {
        file.setFileName(arguments[File]);
        if (!file.open(QIODevice::ReadOnly))
            return fail(
                log, QStringLiteral("Cannot open the plot file \"%1\": %2").arg(name, file.errorString()));
    }
    // A table that cannot be read, wholly or in part, is reported; the job prints all the same.
    const PenTableFile pens = PenTableFile::read(penTable);
    for (const QString &problem : pens.problems())
        log << "WARNING: " << problem << '\n';
    const PlotLoader::Result loaded = PlotLoader::read(fromFile ? file : standardInput, name, pens.pens);
    if (!loaded.document)
        return fail(log, loaded.error);
    // Reported, not fatal: the job still prints what the plot draws.
    for (const QString &warning : loaded.document->warnings())
        log << "WARNING: " << warning << '\n';

    const CupsJobOptions job = CupsJobOptions::parse(arguments[Options].toUtf8());
    fonts();
    // The whole PDF first, so that a failure sends nothing down the chain to the printer.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    const PrintedSheets printed = writePdf(pdf, loaded.document->plot(), job.paper, job.render, title);
    if (!printed.written)
        return fail(log, QStringLiteral("The plot \"%1\" could not be drawn.").arg(title));
    for (const QString &warning : printed.warnings())
        log << "WARNING: " << warning << '\n';
    if (output.write(pdf.data()) != pdf.data().size())
        return fail(log, QStringLiteral("Cannot pass the PDF on: %1").arg(output.errorString()));
    log << "INFO: " << loaded.document->plot().pages.size() << " plot pages drawn\n";
    return 0;
}

} // namespace

int cupsFilterMain(const QStringList &arguments, QFile &standardInput, QIODevice &output, QTextStream &log,
    const FontSupport &fonts, const QString &penTable)
{
    try {
        return print(arguments, standardInput, output, log, fonts, penTable);
    } catch (const std::bad_alloc &) {
        return fail(log, QStringLiteral("Cannot print the plot: %1.").arg(ProcessLimits::memoryMessage()));
    } catch (const std::exception &e) {
        return fail(log, QStringLiteral("Cannot print the plot: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

} // namespace plotviewer
