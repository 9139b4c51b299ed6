#include "PlotServerObject.h"

#include "PlotDocumentObject.h"
#include "plotviewer/document/PenTableFile.h"
#include "plotviewer/document/PlatformPrintDialog.h"
#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/document/PrinterSelection.h"
#include "plotviewer/document/SystemPrinterLookup.h"

#include <QDebug>

namespace plotviewer {

PlotServerObject::PlotServerObject(std::shared_ptr<PrinterSelection> printers)
    : m_printers(std::move(printers))
{ }

std::unique_ptr<PlotServerObject> PlotServerObject::forThisSystem(bool displayAvailable)
{
    return std::make_unique<PlotServerObject>(
        std::make_shared<PrinterSelection>(std::make_shared<SystemPrinterLookup>(),
            std::make_shared<PlatformPrintDialog>(displayAvailable), PrinterSelection::userSetupFile()));
}

QObject *PlotServerObject::Open(const QString &path)
{
    QObject *document = nullptr;
    m_errors.run(PlotViewer::Open, [&] {
        const PenTableFile pens = m_penTable.isEmpty() ? PenTableFile() : PenTableFile::read(m_penTable);
        PlotLoader::Result loaded = PlotLoader::load(path, pens.pens);
        if (!loaded.document)
            return loaded.error;
        loaded.document->addWarnings(pens.problems());
        document = new PlotDocumentObject(std::move(*loaded.document), m_printers);
        return QString();
    });
    return document;
}

void PlotServerObject::PrintSetup()
{
    m_errors.run(PlotViewer::PrintSetup, [&] {
        QString error;
        m_printers->choose(&error, m_ownerWindow);
        return error;
    });
}

void PlotServerObject::SetOwnerWindow(qlonglong windowId)
{
    m_errors.run(PlotViewer::SetOwnerWindow, [&] {
        m_ownerWindow = quintptr(windowId);
        return QString();
    });
}

void PlotServerObject::SetPenTable(const QString &settingsFile)
{
    m_errors.run(PlotViewer::SetPenTable, [&] {
        m_penTable = settingsFile;
        // The program shows no plot warnings, so a table's problems also go where a desktop keeps
        // its programs' messages, once for each time the program names the table.
        for (const QString &problem : PenTableFile::read(m_penTable).problems())
            qWarning("%s", qUtf8Printable(problem));
        return QString();
    });
}

QString PlotServerObject::takeError()
{
    return m_errors.take();
}

} // namespace plotviewer
