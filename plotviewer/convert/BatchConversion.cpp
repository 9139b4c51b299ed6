#include "BatchConversion.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace plotviewer {

namespace {

QString suffixFor(ConvertOptions::Format format)
{
    switch (format) {
    case ConvertOptions::Format::Jpeg:
        return QStringLiteral("jpg");
    case ConvertOptions::Format::Pdf:
        return QStringLiteral("pdf");
    case ConvertOptions::Format::Svg:
        return QStringLiteral("svg");
    case ConvertOptions::Format::Png:
        break;
    }
    return QStringLiteral("png");
}

struct Task
{
    QString input;
    QString output;
    QString clash; // the earlier input that already writes `output`, if any
    ConversionResult result;
};

std::vector<Task> plan(const ConvertOptions &options)
{
    const QDir folder(options.outputFolder);
    std::vector<Task> tasks;
    QHash<QString, QString> claimed; // output to the input writing it
    for (const QString &input : options.inputs) {
        Task task;
        task.input = input;
        task.output = folder.filePath(QFileInfo(input).completeBaseName() + u'.' + suffixFor(options.format));
        const auto owner = claimed.constFind(task.output);
        if (owner != claimed.constEnd())
            task.clash = *owner;
        else
            claimed.insert(task.output, input);
        tasks.push_back(std::move(task));
    }
    return tasks;
}

ConversionResult run(const Task &task, const ConvertOptions &options)
{
    if (!task.clash.isEmpty()) {
        return ConversionResult::failed(ConvertExit::CannotWrite,
            QStringLiteral("\"%1\" would replace \"%2\", written from \"%3\"")
                .arg(task.input, task.output, task.clash));
    }
    try {
        return convertFile(task.input, task.output, options, [] {});
    } catch (const std::bad_alloc &) {
        return ConversionResult::failed(
            ConvertExit::Failed, QStringLiteral("\"%1\": out of memory").arg(task.input));
    } catch (const std::exception &e) {
        return ConversionResult::failed(ConvertExit::Failed,
            QStringLiteral("\"%1\": %2").arg(task.input, QString::fromLocal8Bit(e.what())));
    }
}

} // namespace

ConvertExit convertBatch(
    const ConvertOptions &options, const FontSupport &fonts, QTextStream &out, QTextStream &err)
{
    if (!QDir().mkpath(options.outputFolder)) {
        err << "plotconvert: cannot make the folder \"" << options.outputFolder << "\"\n";
        return ConvertExit::CannotWrite;
    }
    // Workers share the font database, so it is started here, on the main thread, beforehand.
    fonts();
    std::vector<Task> tasks = plan(options);
    std::atomic<std::size_t> next { 0 };
    std::mutex reporting;
    const auto work = [&] {
        for (std::size_t i = next++; i < tasks.size(); i = next++) {
            Task &task = tasks[i];
            task.result = run(task, options);
            const std::lock_guard lock(reporting);
            for (const QString &warning : task.result.warnings)
                out << "warning " << task.input << ": " << warning << '\n';
            if (task.result.exit == ConvertExit::Success)
                out << "converted " << task.input << " -> " << task.output << '\n';
            else
                out << "failed " << task.input << ": " << task.result.error << '\n';
            out.flush();
        }
    };
    const std::size_t workerCount = std::min(std::size_t(options.jobs), tasks.size());
    std::vector<std::thread> workers;
    for (std::size_t i = 1; i < workerCount; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();

    ConvertExit status = ConvertExit::Success;
    qsizetype failures = 0;
    for (const Task &task : tasks) {
        if (task.result.exit == ConvertExit::Success)
            continue;
        if (failures++ == 0)
            status = task.result.exit;
    }
    out << "plotconvert: " << tasks.size() - failures << " of " << tasks.size() << " plots converted";
    if (failures > 0)
        out << ", " << failures << " failed";
    out << '\n';
    return status;
}

} // namespace plotviewer
