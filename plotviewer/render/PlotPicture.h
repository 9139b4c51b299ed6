#pragma once

#include "RenderOptions.h"
#include "plotviewer/model/DisplayList.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace plotviewer {

/// Pictures are this many pixels to the inch, which matters for pictures at actual size.
inline constexpr double pictureDotsPerInch = 96;

/// The size of a picture of `extent` within `bound`: the largest with the extent's shape when
/// fitting, else the extent's own size at pictureDotsPerInch, cut down to `bound`. At least one
/// pixel each way.
QSize plotPictureSize(const Rect &extent, QSize bound, Placement placement);

/// `page` drawn anti-aliased on white, in a picture of plotPictureSize(). `fewerChords`, when
/// given, tells whether curves were drawn in fewer chords than the plot asked for.
QImage renderPlotPicture(
    const Page &page, QSize bound, const RenderOptions &options, bool *fewerChords = nullptr);

/// What to tell the user when curves were drawn in fewer chords than the plot asked for.
QString fewerChordsWarning();

} // namespace plotviewer
