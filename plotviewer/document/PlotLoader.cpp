#include "PlotLoader.h"

#include "contract/PathAccess.h"
#include "plotviewer/interpreter/PlotInterpreter.h"
#include "plotviewer/reader/PlotFileCheck.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace plotviewer {

namespace {

// Far beyond any real plot; refusing keeps a stray disk image from exhausting memory.
constexpr qint64 largestPlotFile = qint64(512) << 20;
constexpr qint64 readPiece = qint64(1) << 20;

// The file's bytes are freed once read, but the allocator keeps their pages for its next requests,
// and the pictures drawn next need larger blocks: hand the pages back, so that a scanned page's
// picture does not stand on top of the file it came from. A smaller file of lines leaves little
// to gain, and every page handed back costs the drawing a fault when it asks for it again.
void returnFreedPages(qint64 fileSize, const DisplayList &plot)
{
    const bool holdsImages = std::any_of(
        plot.pages.begin(), plot.pages.end(), [](const Page &page) { return !page.images.empty(); });
#ifdef __GLIBC__
    if (holdsImages || fileSize >= readPiece)
        malloc_trim(0);
#else
    Q_UNUSED(holdsImages);
    Q_UNUSED(fileSize);
#endif
}

PlotLoader::Result failed(PlotLoader::Failure failure, QString error)
{
    return { std::nullopt, failure, std::move(error) };
}

PlotLoader::Result unreadable(const QString &path, const QString &reason)
{
    return failed(PlotLoader::Failure::Unreadable,
        QStringLiteral("Cannot open the plot file \"%1\": %2").arg(path, reason));
}

QString notAPlot(const QString &name, const PlotFileCheck::Verdict &verdict)
{
    if (!verdict.kind.isEmpty())
        return QStringLiteral("\"%1\" is %2, not a plot file.").arg(name, verdict.kind);
    return QStringLiteral(
        "\"%1\" does not look like a plot file: only %2 % of it reads as HP-GL, PCL or PJL.")
        .arg(name)
        .arg(qRound(verdict.plotShare * 100));
}

} // namespace

PlotLoader::Result PlotLoader::load(const QString &path, const hpgl::LoadedPens &pens)
{
    if (const QString unreachable = PathAccess::whyUnreachable(path); !unreachable.isEmpty())
        return unreadable(path, QStringLiteral("it %1.").arg(unreachable));
    const QFileInfo info(path);
    if (info.isDir())
        return unreadable(path, QStringLiteral("it is a folder, not a file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(path, file.errorString());
    return read(file, path, pens);
}

PlotLoader::Result PlotLoader::read(QFile &file, const QString &name, const hpgl::LoadedPens &pens)
{
    // Read in pieces: asking for the whole limit at once would reserve it, however small the file.
    QByteArray bytes;
    if (!file.isSequential())
        bytes.reserve(std::min(file.size(), largestPlotFile + 1));
    while (bytes.size() <= largestPlotFile) {
        const QByteArray piece = file.read(std::min(readPiece, largestPlotFile + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        return unreadable(name, file.errorString());
    if (bytes.size() > largestPlotFile) {
        return unreadable(name,
            QStringLiteral("it is larger than %1 MB, more than any plot file should be.")
                .arg(largestPlotFile >> 20));
    }

    const PlotFileCheck::Verdict verdict = PlotFileCheck::examine(bytes);
    if (!verdict.plot)
        return failed(Failure::NotAPlot, notAPlot(name, verdict));

    InterpretResult interpreted
        = interpretPlot(std::string_view(bytes.constData(), std::size_t(bytes.size())), pens);
    const qint64 fileSize = bytes.size();
    bytes = QByteArray();
    returnFreedPages(fileSize, interpreted.plot);
    if (!interpreted.error.empty() || interpreted.plot.pages.empty()) {
        const QString reason = interpreted.error.empty() ? QStringLiteral("no drawing commands were found.")
                                                         : QString::fromStdString(interpreted.error);
        return failed(Failure::NothingDrawable,
            QStringLiteral("The plot file \"%1\" holds nothing to draw: %2").arg(name, reason));
    }
    return { PlotDocument(name, std::move(interpreted.plot)), Failure::None, {} };
}

} // namespace plotviewer
