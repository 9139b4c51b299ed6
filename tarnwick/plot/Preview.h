#pragma once

#include "contract/PlotViewerContract.h"
#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/plot/PreviewPages.h"

#include <QStringList>
#include <functional>

/// The preview of a double click: each plot is rendered by the plot server into the preview
/// picture file, which is then handed on to be shown at once, with the plot's document, from which
/// the pictures of the plot's other pages are then made.
class Preview
{
public:
    /// Shows the picture file rendered for the plot at `path`, the page in view of `pages`, whose
    /// other pictures are still to be made from `document`; throws to stop the preview.
    using ShowPicture = std::function<void(const QString &pictureFile, const QString &path,
        PreviewPages pages, const AutomationObject &document)>;

    Preview(const AutomationObject &server, PlotViewer::ColourModeNumber colourMode,
        const QString &pictureFile, ShowPicture showPicture);

    /// Previews `paths` in order. The first failure throws: the pictures shown so far stay shown,
    /// and the failing plot's picture is never handed on.
    void showAll(const QStringList &paths);

private:
    /// Deletes the previous picture while the picture-exists flag holds; a failed existence test or
    /// deletion clears the flag for the rest of this preview.
    void probePictureFile();
    /// The pages of the document, none of them made but the one SaveTo saved; one page when the
    /// server cannot tell its pages. Of a long plot, only a run of pages is held.
    static PreviewPages pagesOf(const AutomationObject &document);

    AutomationObject m_server;
    PlotViewer::ColourModeNumber m_colourMode;
    QString m_pictureFile;
    ShowPicture m_showPicture;
    bool m_pictureExists = true;
};
