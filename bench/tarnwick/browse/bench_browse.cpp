// The browser's commands on the real widgets, from 1 000 to 100 000 entries. Each timed step
// includes the event processing that lays out and paints the lists afterwards.
#include "QtBenchmarkMain.h"
#include "tarnwick/browse/BrowseCommands.h"
#include "tarnwick/browse/FileList.h"
#include "tarnwick/browse/PrintList.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

/// A directory of `count` empty files, every other one a plot file, made once per size.
QString directoryOf(qsizetype count)
{
    static std::map<qsizetype, std::unique_ptr<QTemporaryDir>> made;
    auto &directory = made[count];
    if (!directory) {
        directory = std::make_unique<QTemporaryDir>();
        for (qsizetype i = 0; i < count; ++i) {
            const QString name = QStringLiteral("plot%1.%2")
                                     .arg(qlonglong(i), 6, 10, QChar(u'0'))
                                     .arg(i % 2 ? u"txt" : u"plt");
            QFile file(directory->filePath(name));
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot create %s", qPrintable(file.fileName()));
        }
    }
    return directory->path();
}

/// The file list, the print list and the count box, shown side by side.
struct Browser
{
    explicit Browser(qsizetype files)
    {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(fileList);
        layout->addWidget(printList);
        layout->addWidget(countBox);
        window.resize(800, 400);
        window.show();
        fileList->setPattern(QStringLiteral("*"));
        fileList->setPath(directoryOf(files));
        settle();
    }

    /// What the main window does after each change of the print list.
    void showCount() { countBox->setText(QString::number(printList->count())); }

    QWidget window;
    FileList *fileList = new FileList;
    PrintList *printList = new PrintList;
    QLineEdit *countBox = new QLineEdit;
};

QStringList pathsOf(qsizetype count)
{
    QStringList paths;
    paths.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        paths.append(QStringLiteral("/plots/project/sheet%1.plt").arg(i));
    return paths;
}

/// Times `command` with the event processing after it; `prepare` runs untimed before each run.
template<typename Prepare, typename Command>
void timeEach(benchmark::State &state, Prepare prepare, Command command)
{
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        settle();
        state.ResumeTiming();
        command();
        settle();
    }
    state.SetComplexityN(state.range(0));
}

void fillFileList(benchmark::State &state)
{
    Browser browser(0);
    const QString directory = directoryOf(state.range(0));
    timeEach(
        state, [] {}, [&] { browser.fileList->setPath(directory); });
    if (browser.fileList->count() != state.range(0))
        state.SkipWithError("the file list is incomplete");
}

void fillFileListWithPattern(benchmark::State &state)
{
    // Every name goes through the pattern, and half of them are left out.
    Browser browser(0);
    browser.fileList->setPattern(QStringLiteral("*.plt"));
    const QString directory = directoryOf(state.range(0));
    timeEach(
        state, [] {}, [&] { browser.fileList->setPath(directory); });
    if (browser.fileList->count() != (state.range(0) + 1) / 2)
        state.SkipWithError("the file list is incomplete");
}

void selectAll(benchmark::State &state)
{
    Browser browser(state.range(0));
    timeEach(
        state, [&] { browser.fileList->clearSelection(); }, [&] { browser.fileList->selectAll(); });
}

void selectPlotFiles(benchmark::State &state)
{
    Browser browser(state.range(0));
    timeEach(
        state, [&] { browser.fileList->clearSelection(); },
        [&] { BrowseCommands::selectPlotFiles(*browser.fileList); });
    if (browser.fileList->selectedRows().size() != (state.range(0) + 1) / 2)
        state.SkipWithError("wrong selection");
}

void selectPlotFilesInChangedDirectory(benchmark::State &state)
{
    // A file comes and goes before each run, so every refresh merges a change and selects afresh.
    Browser browser(state.range(0));
    QFile newcomer(directoryOf(state.range(0)) + QStringLiteral("/newcomer.txt"));
    const auto change = [&] {
        browser.fileList->clearSelection();
        if (newcomer.exists())
            newcomer.remove();
        else if (newcomer.open(QIODevice::WriteOnly))
            newcomer.close();
    };
    timeEach(state, change, [&] { BrowseCommands::selectPlotFiles(*browser.fileList); });
    newcomer.remove();
}

void addAllToList(benchmark::State &state)
{
    Browser browser(state.range(0));
    browser.fileList->selectAll();
    timeEach(
        state, [&] { browser.printList->clear(); },
        [&] {
            browser.printList->append(browser.fileList->selectedPaths());
            browser.showCount();
        });
    if (browser.printList->count() != state.range(0))
        state.SkipWithError("wrong print list");
}

void removeEveryOther(benchmark::State &state)
{
    Browser browser(0);
    const QStringList paths = pathsOf(state.range(0));
    QList<qsizetype> everyOther;
    for (qsizetype row = 0; row < paths.size(); row += 2)
        everyOther.append(row);
    const auto prepare = [&] {
        browser.printList->clear();
        browser.printList->append(paths);
        browser.printList->selectRows(everyOther);
    };
    timeEach(state, prepare, [&] {
        browser.printList->removeSelected();
        browser.showCount();
    });
    if (browser.printList->count() != paths.size() / 2)
        state.SkipWithError("wrong print list");
}

/// Times `command` on a print list of the run's size with every entry selected; it must empty it.
template<typename Command> void timeOnFullySelectedList(benchmark::State &state, Command command)
{
    Browser browser(0);
    const QStringList paths = pathsOf(state.range(0));
    const auto prepare = [&] {
        browser.printList->append(paths);
        browser.printList->selectAll();
    };
    timeEach(state, prepare, [&] {
        command(*browser.printList);
        browser.showCount();
    });
    if (browser.printList->count() != 0)
        state.SkipWithError("the print list is not empty");
}

void removeAll(benchmark::State &state)
{
    timeOnFullySelectedList(state, [](PrintList &list) { list.removeSelected(); });
}

void clearList(benchmark::State &state)
{
    timeOnFullySelectedList(state, [](PrintList &list) { list.clear(); });
}

void sizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->RangeMultiplier(10)
        ->Range(1'000, 100'000)
        ->Arg(30'000)
        ->Arg(50'000)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(fillFileList)->Apply(sizes)->Complexity(benchmark::oNLogN);
BENCHMARK(fillFileListWithPattern)->Apply(sizes)->Complexity(benchmark::oNLogN);
BENCHMARK(selectAll)->Apply(sizes)->Complexity(benchmark::oN);
BENCHMARK(selectPlotFiles)->Apply(sizes)->Complexity(benchmark::oN);
BENCHMARK(selectPlotFilesInChangedDirectory)->Apply(sizes)->Complexity(benchmark::oN);
BENCHMARK(addAllToList)->Apply(sizes)->Complexity(benchmark::oN);
BENCHMARK(removeEveryOther)->Apply(sizes)->Complexity(benchmark::oN);
BENCHMARK(removeAll)->Apply(sizes)->Complexity(benchmark::oN);
BENCHMARK(clearList)->Apply(sizes)->Complexity(benchmark::oN);

int main(int argc, char **argv)
{
    // bench-accessible.sh asks for the accessibility bridge: figures without it would mislead.
    if (qEnvironmentVariableIntValue("TARNWICK_BENCH_ACCESSIBLE") == 1) {
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        return runQtBenchmarks(argc, argv, [] {
            // The bridge comes up once the application has reached the accessibility bus.
            const QDeadlineTimer deadline(5000);
            while (!QAccessible::isActive() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            if (!QAccessible::isActive())
                qFatal("the accessibility bridge is not active: is the AT-SPI bus running?");
        });
    }
    return runQtBenchmarks(argc, argv);
}
