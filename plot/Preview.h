#pragma once

#include "automation/AutomationObject.h"
#include "contract/PlotViewerContract.h"

#include <QString>

class FileList;

/// The preview of a double click: every selected entry of the file list is rendered by the plot
/// server into the preview image file and shown in a new preview window of its own.
class Preview
{
public:
    Preview(const AutomationObject &server, PlotViewer::ColourMode colourMode, const QString &imageFile);

    /// Previews the selected entries in file-list order. The first failure throws: the windows
    /// shown so far stay open, and the failing entry's window is never shown.
    void showSelected(const FileList &files);

private:
    /// Deletes the previous picture while the image-exists flag holds; a failed existence test or
    /// deletion clears the flag for the rest of the double click.
    void probeImageFile();
    void showEntry(const QString &path, const QString &name);

    AutomationObject m_server;
    PlotViewer::ColourMode m_colourMode;
    QString m_imageFile;
    bool m_imageExists = true;
};
