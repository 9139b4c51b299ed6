#pragma once

#include "plotviewer/model/DisplayList.h"
#include "plotviewer/render/RenderOptions.h"

#include <QString>
#include <QStringList>

namespace plotviewer {

/// An opened plot: its pages and the output settings the caller has given it.
class PlotDocument
{
public:
    /// `plot` must hold at least one page.
    PlotDocument(QString filePath, DisplayList plot);

    /// The file's name without its folder, for print job titles.
    QString fileName() const;
    const DisplayList &plot() const { return m_plot; }
    /// What was said from outside the plot (a pen table read in part), what the interpreter had to
    /// say about it (skipped or changed content), then what its last print had to (such as sheets
    /// joined for actual size), one line each.
    QStringList warnings() const;
    /// Keeps what the latest print had to say, in place of the print before it.
    void notePrinted(QStringList warnings) { m_printWarnings = std::move(warnings); }
    /// Warnings from outside the plot, shown before its own.
    void addWarnings(const QStringList &warnings);
    /// The plot's pages, each with something drawn on it: what a print prints, in order.
    int pageCount() const { return int(m_plot.pages.size()); }
    /// The index of the page a picture shows: the first whose ink falls within its page at all.
    std::size_t previewPageIndex() const;
    const Page &previewPage() const { return m_plot.pages[previewPageIndex()]; }

    ColourMode colourMode() const { return m_colourMode; }
    void setColourMode(ColourMode mode) { m_colourMode = mode; }

    /// Asks for the next print to be at actual size rather than fitted to the paper.
    void requestActualSize() { m_actualSizeRequested = true; }
    /// The placement for the next print, which uses up an actual-size request.
    Placement takePrintPlacement();
    /// Options for a picture: always fitted.
    RenderOptions pictureOptions() const;

private:
    QString m_filePath;
    DisplayList m_plot;
    QStringList m_outsideWarnings;
    ColourMode m_colourMode = ColourMode::Colour;
    bool m_actualSizeRequested = false;
    QStringList m_printWarnings;
};

} // namespace plotviewer
