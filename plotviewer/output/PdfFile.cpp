#include "PdfFile.h"

#include "PagedPlotWriter.h"

#include <QPdfWriter>
#include <QSaveFile>

namespace plotviewer {

bool writePdfFile(const DisplayList &plot, const QString &path, const QPageSize &paper,
    const RenderOptions &options, const QString &title, QString *error)
{
    const auto fail = [&](const QString &reason) {
        *error = QStringLiteral("Cannot write the PDF \"%1\": %2").arg(path, reason);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    bool written = false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(paper);
        writer.setTitle(title);
        written = PagedPlotWriter(options).write(writer, plot);
    }
    if (!written) {
        file.cancelWriting();
        return fail(file.error() != QFileDevice::NoError ? file.errorString()
                                                         : QStringLiteral("the pages could not be painted"));
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace plotviewer
