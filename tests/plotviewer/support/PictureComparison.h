#pragma once

#include <QImage>
#include <QString>

namespace plotviewer::test {

/// Compares `actual` with the reference picture at `referencePath`, tolerating small
/// anti-aliasing differences. Empty when they match; otherwise a description, and both pictures
/// are written to the working directory's "failed-renders" folder for a look. With
/// TARNWICK_UPDATE_REFERENCES=1 in the environment the reference is rewritten instead.
QString compareWithReference(const QImage &actual, const QString &referencePath);

/// Compares where two pictures hold ink, loosely enough for pictures made by another font
/// rasteriser or Qt version: sizes may differ by a pixel, and an inked pixel matches when the
/// other picture has ink within a pixel of it. A turned, cut, merged or missing drawing differs.
/// Empty when they match; otherwise a description.
QString compareInk(const QImage &actual, const QImage &expected);

/// compareInk() against the picture at `referencePath`, which TARNWICK_UPDATE_REFERENCES=1
/// rewrites instead; on a mismatch both pictures are kept in "failed-renders".
QString compareInkWithReference(const QImage &actual, const QString &referencePath);

} // namespace plotviewer::test
