#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

namespace plotviewer {

/// Writes `picture` to `device` as PNG, for speed over the last few per cent of size: a picture of
/// a plot is mostly blank paper, which compresses well enough at the fastest level without the
/// per-row filters, and a picture holding only greys is written as grey, a third of the data.
/// The pixels read back exactly as given; a picture of a plot is opaque, so transparency is not
/// kept. False with `reason` set on failure.
bool encodePng(const QImage &picture, QIODevice &device, QString &reason);

} // namespace plotviewer
