#pragma once
// Whether bytes read as a plot at all: how they start, and how much of their start the reader finds
// to be plot content (ContentTally).

#include "ContentTally.h"

#include <string_view>

namespace plotviewer::hpgl {

class PlotContentSurvey
{
public:
    /// The survey stops once it has weighed this many bytes.
    static constexpr std::size_t window = 64 * 1024;
    /// The least share of plot content in a plot file. Plot files weigh 0.979 and more: every corpus
    /// file and sample (but one whose PE data was re-encoded as UTF-8, 0.44, which starts like a
    /// plot and so is read as one all the same), and what gnuplot, plotutils, Ghostscript's PCL
    /// drivers, KiCad and Inkscape write (0.995 and more). Other files weigh 0.23 at most (texts,
    /// source code, web pages, pictures, archives, executables, PDF); a few lines of prose scatter
    /// more (0.33). Half way leaves a margin of 0.48 above and 0.27 (0.17 for such prose) below.
    static constexpr double plotThreshold = 0.5;

    /// Reads `bytes` up to the window.
    explicit PlotContentSurvey(std::string_view bytes);

    /// Whether `bytes` start as plot files and print jobs do, after blanks: with HP-GL's IN, HP-GL/2's
    /// BP IN, a PCL reset or language switch, a PJL job, or a plotter's device control. Whatever
    /// follows such a start, the file is read as a plot.
    static bool startsLikePlot(std::string_view bytes);

    const ContentTally &tally() const { return m_tally; }
    /// Plot content over everything weighed, from 0 to 1; 1 when nothing was weighed.
    double plotShare() const;
    bool looksLikePlot() const { return plotShare() >= plotThreshold; }

private:
    ContentTally m_tally;
};

} // namespace plotviewer::hpgl
