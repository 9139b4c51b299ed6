#include "PlotLoader.h"

#include "plotviewer/interpreter/PlotInterpreter.h"

#include <QFile>
#include <QFileInfo>

namespace plotviewer {

namespace {

// Far beyond any real plot; refusing keeps a stray disk image from exhausting memory.
constexpr qint64 largestPlotFile = qint64(512) << 20;

PlotLoader::Result failed(PlotLoader::Failure failure, QString error)
{
    return { std::nullopt, failure, std::move(error) };
}

PlotLoader::Result unreadable(const QString &path, const QString &reason)
{
    return failed(PlotLoader::Failure::Unreadable,
        QStringLiteral("Cannot open the plot file \"%1\": %2").arg(path, reason));
}

} // namespace

PlotLoader::Result PlotLoader::load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return unreadable(path, QStringLiteral("it does not exist."));
    if (info.isDir())
        return unreadable(path, QStringLiteral("it is a folder, not a file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(path, file.errorString());
    const QByteArray bytes = file.read(largestPlotFile + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(path, file.errorString());
    if (bytes.size() > largestPlotFile) {
        return unreadable(path,
            QStringLiteral("it is larger than %1 MB, more than any plot file should be.")
                .arg(largestPlotFile >> 20));
    }

    InterpretResult interpreted
        = interpretPlot(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!interpreted.error.empty() || interpreted.plot.pages.empty()) {
        const QString reason = interpreted.error.empty() ? QStringLiteral("no drawing commands were found.")
                                                         : QString::fromStdString(interpreted.error);
        return failed(Failure::NothingDrawable,
            QStringLiteral("The plot file \"%1\" holds nothing to draw: %2").arg(path, reason));
    }
    return { PlotDocument(path, std::move(interpreted.plot)), Failure::None, {} };
}

} // namespace plotviewer
