#pragma once

#include "RenderOptions.h"
#include "plotviewer/model/DisplayList.h"

#include <QImage>
#include <QSize>

namespace plotviewer {

/// The largest size within `bound` with the shape of `extent`, at least one pixel each way.
QSize fittedPictureSize(const Rect &extent, QSize bound);

/// `page` drawn anti-aliased on white, in a picture that fits within `bound` with the page's shape.
QImage renderPlotPicture(const Page &page, QSize bound, const RenderOptions &options);

} // namespace plotviewer
