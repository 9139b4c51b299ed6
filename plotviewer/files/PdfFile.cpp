#include "PdfFile.h"

#include "AtomicSave.h"

#include <QPdfWriter>

namespace plotviewer {

PrintedSheets writePdf(QIODevice &device, const DisplayList &plot, const QPageSize &paper,
    const RenderOptions &options, const QString &title)
{
    QPdfWriter writer(&device);
    writer.setPageSize(paper);
    writer.setTitle(title);
    return PagedPlotWriter(options, std::nullopt, title).write(writer, plot);
}

PrintedSheets writePdfFile(const DisplayList &plot, const QString &path, const QPageSize &paper,
    const RenderOptions &options, const QString &title, QString *error)
{
    PrintedSheets printed;
    const bool saved = saveAtomically(
        path, QStringLiteral("PDF"),
        [&](QSaveFile &file, QString &reason) {
            printed = writePdf(file, plot, paper, options, title);
            if (!printed.written)
                reason = file.error() != QFileDevice::NoError
                    ? file.errorString()
                    : QStringLiteral("the pages could not be painted");
            return printed.written;
        },
        error);
    printed.written = saved;
    return printed;
}

} // namespace plotviewer
