#pragma once
// What the end-to-end printing suites share: naming this run's jobs, sending files with lp,
// waiting for the scheduler, and reading what the PDF printer made of a job.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>
#include <optional>

namespace plotviewer::test {

/// How long a suite waits for its jobs to print.
inline constexpr int jobTimeoutMs = 120000;

/// What lpstat printed, trimmed; nullopt when it did not run to a successful end.
std::optional<QString> lpstat(const QStringList &arguments);
/// The job ids (each line's first word) of an `lpstat -o` listing; nullopt for none.
std::optional<QStringList> jobIds(const std::optional<QString> &listing);

class CupsPdfPrinter;

/// Why plot files cannot be printed here with lp through the plot filter `builtFilter` to
/// `printer`: poppler's tools missing, no PDF printer, or the filter's rules missing or another
/// filter installed. Empty when they can.
QString lpPrintingProblem(CupsPdfPrinter &printer, const QString &builtFilter);

/// True when TARNWICK_REQUIRE_CUPS=1 asks that printing tests fail rather than skip.
bool cupsRequired();

/// "tarnwick-<suite>-<process id>-<name>": unique per run, so that PDFs and log lines from earlier
/// runs are never mistaken for this run's.
QString uniqueJobTitle(const QString &suite, const QString &name);

/// Copies `source` into `folder` under the name `title` plus the source's suffix, so that CUPS
/// types it by content and name alike and the PDF printer names its output after it. The copy's
/// path, or empty when it cannot be made.
QString copyForJob(const QString &source, const QString &folder, const QString &title);

/// Sends `file` with lp to `queue` as `title`, with `options` ("-o" each), through `server`
/// ("host:port") when one is given. The job's id ("queue-number"), or empty with a warning logged.
QString submitWithLp(const QString &file, const QString &queue, const QString &title,
    const QStringList &options = {}, const QString &server = {});

/// Waits, polling, until `done` holds; stops at once when the system's scheduler no longer answers.
/// Empty when done in time, else why not.
QString waitForJobs(const std::function<bool()> &done, int timeoutMs = jobTimeoutMs);

class PdfProbe;

/// The only page of the PDF at `path` as a picture at `dotsPerInch`; null with `error` set when
/// the PDF cannot be read, has other than one page, or holds almost no ink.
QImage singleInkedSheet(const QString &path, int dotsPerInch, QString *error);
/// The same for a PDF already open.
QImage singleInkedSheet(const PdfProbe &pdf, int dotsPerInch, QString *error);

/// Compares `pdf`, the plot file `plotFile` printed at actual size through the plot filter, with
/// the sheets the filter plans for the PDF's paper: as many, together holding the whole drawing
/// in reading order (see compareJoinedSheets()). Empty when they match.
QString compareWithFilterSheets(const PdfProbe &pdf, const QString &plotFile);

} // namespace plotviewer::test

/// Ends the test function when `reasonText` is not empty: skipped, or failed where CUPS is required.
#define TARNWICK_SKIP_UNLESS_PRINTING(reasonText)                                                            \
    do {                                                                                                     \
        const QString reason_ = (reasonText);                                                                \
        if (!reason_.isEmpty()) {                                                                            \
            if (plotviewer::test::cupsRequired())                                                            \
                QFAIL(qPrintable(reason_));                                                                  \
            QSKIP(qPrintable(reason_));                                                                      \
        }                                                                                                    \
    } while (false)
