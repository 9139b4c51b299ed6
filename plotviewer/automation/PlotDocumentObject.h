#pragma once

#include "AutomationErrors.h"
#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"
#include "plotviewer/document/PlotDocument.h"

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
    /// any file at `path`; ours: an SVG of the page, of its own size, when `path` ends in ".svg".
    Q_INVOKABLE void SaveTo(const QString &path);
    /// Ours, beside the specified members: what the interpreter had to say about the plot, then
    /// what its last DoPrint had to (such as the sheets a drawing at actual size took).
    Q_INVOKABLE QStringList Warnings() const { return m_document.warnings(); }
    /// Ours: the number of the plot's pages, which DoPrint prints in order.
    Q_INVOKABLE int PageCount() const { return m_document.pageCount(); }
    /// Ours: the page SaveTo saves, counted from 1.
    Q_INVOKABLE int PreviewPage() const { return int(m_document.previewPageIndex()) + 1; }
    /// Ours: writes page `page` (from 1) as SaveTo writes its page.
    Q_INVOKABLE void SavePageTo(int page, const QString &path);
    /// Ours: writes page `page` (from 1) as an SVG of the page's own size.
    Q_INVOKABLE void SaveSvgPageTo(int page, const QString &path);

    QString takeError() override;

private:
    QString savePicture(const Page &page, const QString &path) const;
    QString saveSvg(const Page &page, const QString &path) const;
    /// Page `page` (from 1) for `member`; null with `error` set when the plot has no such page.
    const Page *pageNumbered(int page, QString *error) const;

    PlotDocument m_document;
    std::shared_ptr<PrinterSelection> m_printers;
    AutomationErrors m_errors;
};

} // namespace plotviewer
