#pragma once

#include "AutomationErrors.h"
#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"
#include "plotviewer/output/PlotDocument.h"

#include <QObject>

#include <memory>

namespace plotviewer {

class PrinterSelection;

/// The automation object for an opened plot; members are called late-bound by name.
class PlotDocumentObject : public QObject, public AutomationErrorSource
{
    Q_OBJECT
    Q_INTERFACES(AutomationErrorSource)

public:
    PlotDocumentObject(PlotDocument document, std::shared_ptr<PrinterSelection> printers);

    /// 0 black and white, 1 colour, 2 grey scale.
    Q_INVOKABLE void SetColorMode(short mode);
    /// The next DoPrint prints at actual size instead of fitting the paper.
    Q_INVOKABLE void ActualSize();
    Q_INVOKABLE void DoPrint();
    /// Writes a JPEG of the first page with something on it, fitting within 1024 x 768, replacing
    /// any file at `path`.
    Q_INVOKABLE void SaveTo(const QString &path);
    /// Ours, beside the specified members: what the interpreter had to say about the plot.
    Q_INVOKABLE QStringList Warnings() const { return m_document.warnings(); }

    QString takeError() override;

private:
    PlotDocument m_document;
    std::shared_ptr<PrinterSelection> m_printers;
    AutomationErrors m_errors;
};

} // namespace plotviewer
