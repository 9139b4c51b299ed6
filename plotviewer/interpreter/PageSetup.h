#pragma once
// Where a page comes from and how it is framed: the PCL page (size, orientation, picture frame,
// plot size), a plotter's plot size (PS), the input window (IW), and the rotation of the page's
// first mark. Works out the frame the coordinate system spans, the clip and the page to show, and
// the frame and page of PS with its sides swapped, as some CAD exports give them.

#include "CoordinateSystem.h"
#include "plotviewer/reader/PlotCommand.h"

#include <vector>

namespace plotviewer::hpgl {

/// Where PCL's cursor, raster and rectangles are on the page, in output units.
struct PclPage
{
    Point origin; // the cursor's (0, 0): the left edge of the logical page at the top margin
    Rect paper; // the sheet under the logical page; empty outside a PCL context
    int orientation = 0; // ESC&l#O: 0 portrait, 1 landscape, 2 and 3 reversed
    // The directions of the cursor's x and y on the page, one unit long. A printer's PCL page
    // reads as the HP-GL/2 frame does, its y down the page. A roll plotter's raster is fixed to the
    // paper: its rows run across the roll (the Y of PS) and follow each other along the roll's
    // length (the X of PS), from the HP-GL/2 origin.
    Point right { 1, 0 };
    Point down { 0, -1 };
};

class PageSetup
{
public:
    /// ESC E and job boundaries: the PCL defaults and no PS. The window and paper stay.
    void reset();

    bool pclContext() const { return m_pcl.context; }
    /// ESC%#B or ESC%#A: true when it switches between PCL and plotter context.
    bool enterHpgl(double mode);
    /// Whether a page-size or orientation escape is one we know; only those start a new page.
    static bool startsPage(CommandKind kind, double value);
    /// A PCL page-size, orientation, picture-frame or plot-size escape: true when taken. The
    /// top margin and line spacing are taken too but return false: they move no frame.
    bool setPclValue(CommandKind kind, double value);
    /// PS: true when taken (PCL jobs that gave a page ignore it).
    bool setPlotSize(const std::vector<double> &n);
    /// The PCL cursor's (0, 0) in output units: the left edge of the logical page at the top margin,
    /// or in a plotter's PS frame the HP-GL/2 origin.
    Point pclOrigin() const;
    PclPage pclPage() const;
    /// Whether the frame is a PS that gave both sides, which may have given them the other way round.
    bool plotSizeMaySwap() const;
    /// Whether the page is only assumed: a PCL job that gave neither a page size nor a picture
    /// frame. Such a frame never cuts ink; the page then fits the drawing.
    bool frameAssumed() const;

    /// IW in output units, or none.
    void setWindow(const Rect &window);
    void clearWindow() { m_windowSet = false; }
    bool windowSet() const { return m_windowSet; }

    /// Sets the frame and the PCL plot-size scale of `coords`, and the paper under the page.
    void applyFrame(CoordinateSystem &coords, bool pageHasMarks);
    struct Clip
    {
        Rect frame; // hard clip
        Rect window; // soft clip
        Rect watched; // the frame whose cuts are noted; everywhere when none
        Rect swappedFrame; // the frame of PS with its sides swapped
        friend bool operator==(const Clip &, const Clip &) = default;
    };
    Clip clip(const CoordinateSystem &coords) const;

    /// Notes a mark drawn under `rotation`: the first one decides which side of a page whose width
    /// the drawing gives holds the origin.
    void noteMark(int rotation);
    /// The page that ends now, holding its marks; or, for PS with its sides swapped, that page.
    Rect pageFrame(const CoordinateSystem &coords, bool hasMarks, const Rect &inkBounds) const;
    Rect swappedPageFrame() const;
    /// After a page ends: the next page starts on a fresh PS frame.
    void pageFinished();

private:
    struct Pcl
    {
        bool context = false;
        bool setupSeen = false;
        bool pageSizeGiven = false;
        double pageSize = 2; // Letter
        double orientation = 0;
        double frameWidth = 0; // decipoints, 0 = default
        double frameHeight = 0;
        double plotWidth = 0; // inches, 0 = frame size
        double plotHeight = 0;
        double lineSpacing = 1.0 / 6; // inches
        double topMargin = 0.5; // inches
        double leftOffset = 0; // decipoints, ESC&l#U
        double topOffset = 0; // decipoints, ESC&l#Z
    };

    double logicalPageLength() const;
    void setTopMargin(double lines);

    Pcl m_pcl;
    double m_psLength = 0; // 0 = no PS
    double m_psWidth = 0;
    Rect m_window; // IW in output units
    bool m_windowSet = false;
    Rect m_largestFrame;
    double m_logicalPageTop = 0; // in a PCL context: where the paper's logical page begins
    bool m_pageRotationKnown = false;
    int m_pageRotation = 0;
};

} // namespace plotviewer::hpgl
