#pragma once
// The outlines of the arc, circle and wedge instructions (AA/AR, AT/RT, CI, EW/WG) from their
// arguments, in user units. Empty when the arguments describe nothing to draw.

#include "plotviewer/model/DisplayList.h"

#include <vector>

namespace plotviewer::hpgl {

namespace ShapeOutlines {

/// The chord angle argument `n[index]` of a curve of `radius`: an angle, or with CT1 a deviation.
double chordAngle(const std::vector<double> &n, std::size_t index, double radius, bool chordDeviation);

/// Whether the chord argument `n[index]` asks for finer chords than the default on the arc whose
/// points begin with `arc` (three in a row at least).
bool asksFinerChords(const std::vector<double> &n, std::size_t index, const Point *arc, bool chordDeviation);

/// AA/AR from the pen at `start`: the arc's points after `start`.
std::vector<Point> arc(Point start, const std::vector<double> &n, bool relative, bool chordDeviation);
/// AT/RT from the pen at `start`: the arc's points after `start`, ending exactly on its end point.
std::vector<Point> arcThreePoint(
    Point start, const std::vector<double> &n, bool relative, bool chordDeviation);
/// CI about `centre`: the closed circle, starting on its right.
std::vector<Point> circle(Point centre, const std::vector<double> &n, bool chordDeviation);
/// EW/WG about `centre`: the closed wedge, through the centre unless it is a full circle.
std::vector<Point> wedge(Point centre, const std::vector<double> &n, bool chordDeviation);

} // namespace ShapeOutlines

} // namespace plotviewer::hpgl
