#include "PlotDocumentObject.h"

#include "plotviewer/document/ColourModeNumbers.h"
#include "plotviewer/document/PrintJob.h"
#include "plotviewer/document/PrinterSelection.h"
#include "plotviewer/files/PictureFile.h"
#include "plotviewer/files/SvgFile.h"
#include "plotviewer/render/PlotPicture.h"

namespace plotviewer {

namespace {

const QSize pictureBound(1024, 768);

} // namespace

PlotDocumentObject::PlotDocumentObject(PlotDocument document, std::shared_ptr<PrinterSelection> printers)
    : m_document(std::move(document))
    , m_printers(std::move(printers))
{ }

void PlotDocumentObject::SetColorMode(short mode)
{
    m_errors.run(PlotViewer::SetColorMode, [&] {
        const std::optional<ColourMode> known = colourModeNumbered(mode);
        if (!known) {
            return QStringLiteral("%1 is not a colour mode; use 0 (black and white), 1 (colour) or "
                                  "2 (grey scale).")
                .arg(mode);
        }
        m_document.setColourMode(*known);
        return QString();
    });
}

void PlotDocumentObject::ActualSize()
{
    m_errors.run(PlotViewer::ActualSize, [&] {
        m_document.requestActualSize();
        return QString();
    });
}

void PlotDocumentObject::DoPrint()
{
    m_errors.run(PlotViewer::DoPrint, [&] {
        QString error;
        PrintJob(m_document, *m_printers).run(&error);
        return error;
    });
}

void PlotDocumentObject::SaveTo(const QString &path)
{
    m_errors.run(PlotViewer::SaveTo, [&] { return savePicture(m_document.previewPage(), path); });
}

void PlotDocumentObject::SavePageTo(int page, const QString &path)
{
    m_errors.run(PlotViewer::SavePageTo, [&] {
        QString error;
        const Page *found = pageNumbered(page, &error);
        return found ? savePicture(*found, path) : error;
    });
}

void PlotDocumentObject::SaveSvgPageTo(int page, const QString &path)
{
    m_errors.run(PlotViewer::SaveSvgPageTo, [&] {
        QString error;
        const Page *found = pageNumbered(page, &error);
        return found ? saveSvg(*found, path) : error;
    });
}

const Page *PlotDocumentObject::pageNumbered(int page, QString *error) const
{
    const int count = m_document.pageCount();
    if (page >= 1 && page <= count)
        return &m_document.plot().pages[std::size_t(page - 1)];
    const QString pages = count == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(count);
    *error = QStringLiteral("There is no page %1: the plot has %2.").arg(page).arg(pages);
    return nullptr;
}

QString PlotDocumentObject::saveSvg(const Page &page, const QString &path) const
{
    QString error;
    writeSvgFile(page, path, std::nullopt, m_document.pictureOptions(), m_document.fileName(), &error);
    return error;
}

QString PlotDocumentObject::savePicture(const Page &page, const QString &path) const
{
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return saveSvg(page, path);
    QString error;
    const QImage picture = renderPlotPicture(page, pictureBound, m_document.pictureOptions());
    writePictureFile(picture, path, "jpeg", &error);
    return error;
}

QString PlotDocumentObject::takeError()
{
    return m_errors.take();
}

} // namespace plotviewer
