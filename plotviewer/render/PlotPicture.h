#pragma once

#include "RenderOptions.h"
#include "plotviewer/model/DisplayList.h"

#include <QImage>
#include <QSize>

namespace plotviewer {

/// Pictures are this many pixels to the inch, which matters for pictures at actual size.
inline constexpr double pictureDotsPerInch = 96;

/// The size of a picture of `extent` within `bound`: the largest with the extent's shape when
/// fitting, else the extent's own size at pictureDotsPerInch, cut down to `bound`. At least one
/// pixel each way.
QSize plotPictureSize(const Rect &extent, QSize bound, Placement placement);

/// `page` drawn anti-aliased on white, in a picture of plotPictureSize().
QImage renderPlotPicture(const Page &page, QSize bound, const RenderOptions &options);

} // namespace plotviewer
