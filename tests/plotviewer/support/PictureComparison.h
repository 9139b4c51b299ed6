#pragma once

#include <QImage>
#include <QString>

namespace plotviewer::test {

/// Compares `actual` with the reference picture at `referencePath`, tolerating small
/// anti-aliasing differences. Empty when they match; otherwise a description, and both pictures
/// are written to the working directory's "failed-renders" folder for a look. With
/// TARNWICK_UPDATE_REFERENCES=1 in the environment the reference is rewritten instead.
QString compareWithReference(const QImage &actual, const QString &referencePath);

} // namespace plotviewer::test
