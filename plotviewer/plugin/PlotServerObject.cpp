#include "PlotServerObject.h"

#include "PlotDocumentObject.h"
#include "plotviewer/output/PlotLoader.h"
#include "plotviewer/output/PrinterSelection.h"

namespace plotviewer {

PlotServerObject::PlotServerObject(std::shared_ptr<PrinterSelection> printers)
    : m_printers(std::move(printers))
{ }

QObject *PlotServerObject::Open(const QString &path)
{
    QObject *document = nullptr;
    m_errors.run(PlotViewer::Open, [&] {
        PlotLoader::Result loaded = PlotLoader::load(path);
        if (!loaded.document)
            return loaded.error;
        document = new PlotDocumentObject(std::move(*loaded.document), m_printers);
        return QString();
    });
    return document;
}

void PlotServerObject::PrintSetup()
{
    m_errors.run(PlotViewer::PrintSetup, [&] {
        QString error;
        m_printers->choose(&error);
        return error;
    });
}

QString PlotServerObject::takeError()
{
    return m_errors.take();
}

} // namespace plotviewer
