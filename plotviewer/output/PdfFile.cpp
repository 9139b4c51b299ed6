#include "PdfFile.h"

#include "AtomicSave.h"
#include "PagedPlotWriter.h"

#include <QPdfWriter>

namespace plotviewer {

bool writePdf(QIODevice &device, const DisplayList &plot, const QPageSize &paper,
    const RenderOptions &options, const QString &title)
{
    QPdfWriter writer(&device);
    writer.setPageSize(paper);
    writer.setTitle(title);
    return PagedPlotWriter(options).write(writer, plot);
}

bool writePdfFile(const DisplayList &plot, const QString &path, const QPageSize &paper,
    const RenderOptions &options, const QString &title, QString *error)
{
    return saveAtomically(
        path, QStringLiteral("PDF"),
        [&](QSaveFile &file, QString &reason) {
            const bool written = writePdf(file, plot, paper, options, title);
            if (!written)
                reason = file.error() != QFileDevice::NoError
                    ? file.errorString()
                    : QStringLiteral("the pages could not be painted");
            return written;
        },
        error);
}

} // namespace plotviewer
