#include "PdfFile.h"

#include "AtomicSave.h"
#include "PagedPlotWriter.h"

#include <QPdfWriter>

namespace plotviewer {

bool writePdfFile(const DisplayList &plot, const QString &path, const QPageSize &paper,
    const RenderOptions &options, const QString &title, QString *error)
{
    return saveAtomically(
        path, QStringLiteral("PDF"),
        [&](QSaveFile &file, QString &reason) {
            bool written = false;
            {
                QPdfWriter writer(&file);
                writer.setPageSize(paper);
                writer.setTitle(title);
                written = PagedPlotWriter(options).write(writer, plot);
            }
            if (!written)
                reason = file.error() != QFileDevice::NoError
                    ? file.errorString()
                    : QStringLiteral("the pages could not be painted");
            return written;
        },
        error);
}

} // namespace plotviewer
