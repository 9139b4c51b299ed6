// The preview of a 50-page job through the real plot server, in the two ways a window can keep its
// pages. Run by hand: build/bin/bench_preview
//
//   MadeInBackground: what the program does. The window opens on SaveTo's picture; the plot server
//                     makes the other pages' pictures while it is open, kept as the JPEG files'
//                     bytes, and the plot document is released once they are all made.
//   KeepDocument:     the alternative. The window keeps the plot document, and each page turn has
//                     the server render that page.
//
// Counters: first_window_ms and first_window_cpu_ms (from the double click's work to the window
// shown, on the clock and in processor time), all_pages_ms (MadeInBackground: from the window shown
// to the last page made), peak_growth_MB (resident memory at its highest until then, above where it
// started), kept_MB (resident memory still held while the window is open), page_turn_ms (a page
// turn, averaged over the job).
// Job 0 joins plain HP-GL drawings of the corpus (TARNWICK_CORPUS_DIR, else ../shared/corpus/files
// beside the source tree) with PG between them; job 1 is 50 scanned A4 pages, 1 bit at 300 dpi.
#include "BenchmarkCorpus.h"
#include "BenchmarkScratch.h"
#include "ProcessMemory.h"
#include "QtBenchmarkMain.h"
#include "contract/PlotViewerContract.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/base/HandlerGuard.h"
#include "tarnwick/plot/Form2.h"
#include "tarnwick/plot/PlotServer.h"
#include "tarnwick/plot/Preview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include <ctime>
#include <malloc.h>
#include <optional>

namespace {

constexpr int jobPages = 50;

AutomationObject &server()
{
    static AutomationObject object = AutomationObject::create(QString::fromLatin1(PlotViewer::ProgId));
    return object;
}

int pageCount(const QString &path)
{
    try {
        return openPlot(server(), path, PlotViewer::ColourModeNumber::Colour)
            .call(PlotViewer::PageCount)
            .toInt();
    } catch (const std::exception &) {
        return 0;
    }
}

/// Plain HP-GL drawings of the corpus, taken in turn until they make 50 pages.
QString drawingsJob()
{
    const QDir corpus(benchmarkCorpusFolder());
    QList<std::pair<QByteArray, int>> drawings; // each file's bytes and pages
    for (const QString &name : corpus.entryList(QDir::Files, QDir::Name)) {
        QFile file(corpus.filePath(name));
        const int pages = pageCount(file.fileName());
        if (pages > 0 && file.open(QIODevice::ReadOnly) && !file.peek(256).contains('\x1b'))
            drawings.append({ file.readAll(), pages });
    }
    if (drawings.isEmpty())
        return {};
    const QString path = benchmarkScratch().filePath(QStringLiteral("drawings.plt"));
    QByteArray job;
    int counted = 0;
    qsizetype next = 0;
    const auto addDrawing = [&] {
        const auto &[bytes, pages] = drawings.at(next++ % drawings.size());
        // An unfinished label ends at the default terminator before the page does.
        job += bytes + "\x03;PG;";
        counted += pages;
        QFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(job) == job.size();
    };
    while (counted < jobPages) {
        if (!addDrawing())
            return {};
    }
    // Joined, neighbours may share a page: add drawings until the job itself has its pages.
    while (pageCount(path) < jobPages) {
        if (!addDrawing())
            return {};
    }
    return path;
}

/// 50 A4 pages at 300 dpi, 1 bit a pixel, each a grid under a few rings, one page after another.
QString scannedJob()
{
    constexpr int width = 2480, height = 3508;
    QByteArray page = "\x1b*p0x0Y\x1b*r" + QByteArray::number(width) + "S\x1b*r" + QByteArray::number(height)
        + "T\x1b*r1A\x1b*b0M";
    for (int y = 0; y < height; ++y) {
        QByteArray row(width / 8, '\0');
        for (int x = 0; x < width; ++x) {
            const int dx = x % 800 - 400, dy = y % 800 - 400;
            if (x % 71 == 0 || y % 71 == 0 || std::abs(dx * dx + dy * dy - 300 * 300) < 900)
                row[x / 8] = char(row[x / 8] | 0x80 >> (x % 8));
        }
        page += "\x1b*b" + QByteArray::number(row.size()) + "W" + row;
    }
    page += "\x1b*rB\f";
    QByteArray job = "\x1b"
                     "E\x1b&l26A\x1b*t300R";
    for (int i = 0; i < jobPages; ++i)
        job += page;
    job += "\x1b"
           "E";
    const QString path = benchmarkScratch().filePath(QStringLiteral("scanned.pcl"));
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(job) == job.size() ? path : QString();
}

const QStringList &jobs()
{
    static const QStringList list { drawingsJob(), scannedJob() };
    return list;
}

QWidget *previewWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"Form2")
            return widget;
    }
    return nullptr;
}

void closeWindows()
{
    QApplication::closeAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Runs one way of previewing the benchmark's job and reports its counters. `open` makes the
/// window and returns whatever it keeps besides; `fill` waits until every page can be shown at
/// once; `turn` shows the given page (from 1).
template<typename Kept>
void measure(benchmark::State &state, const std::function<Kept(const QString &job)> &open,
    const std::function<void()> &fill, const std::function<void(Kept &kept, int page)> &turn)
{
    const QString job = jobs().value(int(state.range(0)));
    if (job.isEmpty() || server().isEmpty()) {
        state.SkipWithError("no job: the corpus or the plot server is missing");
        return;
    }
    const int pages = pageCount(job);
    state.SetLabel(QFileInfo(job).fileName().toStdString());
    state.counters["pages"] = pages;
    for (auto _ : state) {
        closeWindows();
        if (!restartPeakCount()) {
            state.SkipWithError("cannot reset the peak count in /proc/self/clear_refs");
            return;
        }
        const long before = statusKilobytes("VmRSS:");
        QElapsedTimer clock;
        clock.start();
        const std::clock_t processorStart = std::clock();
        std::optional<Kept> kept;
        try {
            kept = open(job);
        } catch (const std::exception &failure) {
            state.SkipWithError(failure.what());
            return;
        }
        state.counters["first_window_ms"] = double(clock.elapsed());
        // The processor time too: on a busy machine it varies less than the time on the clock.
        state.counters["first_window_cpu_ms"] = double(std::clock() - processorStart) * 1000 / CLOCKS_PER_SEC;
        clock.restart();
        fill();
        state.counters["all_pages_ms"] = double(clock.elapsed());
        state.counters["peak_growth_MB"] = double(statusKilobytes("VmHWM:") - before) / 1024;
        malloc_trim(0);
        state.counters["kept_MB"] = double(statusKilobytes("VmRSS:") - before) / 1024;
        clock.restart();
        for (int page = 2; page <= pages; ++page)
            turn(*kept, page);
        state.counters["page_turn_ms"] = double(clock.elapsed()) / std::max(1, pages - 1);
    }
    closeWindows();
}

QString pictureFile()
{
    return benchmarkScratch().filePath(QStringLiteral("~plt000.jpg"));
}

HandlerGuard &guard()
{
    static HandlerGuard guard([](int) {});
    return guard;
}

void sendKey(Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(previewWindow(), &press);
}

void MadeInBackground(benchmark::State &state)
{
    measure<bool>(
        state,
        [](const QString &job) {
            Preview(server(), PlotViewer::ColourModeNumber::Colour, pictureFile(),
                [](const QString &picture, const QString &path, PreviewPages pages,
                    const AutomationObject &document) {
                    Form2::showPreview(
                        guard(), picture, QFileInfo(path).fileName(), std::move(pages), document);
                })
                .showAll({ job });
            return true;
        },
        [] {
            // Pages are made forward from the first: the last one made means all are.
            sendKey(Qt::Key_End);
            while (previewWindow()->windowTitle().contains(u"being made"))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            sendKey(Qt::Key_Home);
        },
        [](bool &, int) { sendKey(Qt::Key_PageDown); });
}

void KeepDocument(benchmark::State &state)
{
    measure<AutomationObject>(
        state,
        [](const QString &job) {
            AutomationObject document = openPlot(server(), job, PlotViewer::ColourModeNumber::Colour);
            document.call(PlotViewer::SaveTo, { pictureFile() });
            Form2::showPreview(guard(), pictureFile(), QFileInfo(job).fileName(), {});
            return document;
        },
        [] {},
        [](AutomationObject &document, int page) {
            const QString file = benchmarkScratch().filePath(QStringLiteral("page.jpg"));
            document.call(PlotViewer::SavePageTo, { page, file });
            benchmark::DoNotOptimize(QImageReader(file).read());
        });
}

// 0: corpus drawings; 1: scanned pages. Each way once a job, in a process of its own is best:
//   build/bin/bench_preview --benchmark_filter=KeepDocument/0
BENCHMARK(MadeInBackground)->DenseRange(0, 1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(KeepDocument)->DenseRange(0, 1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runQtBenchmarks(argc, argv);
}
