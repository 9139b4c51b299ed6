#pragma once

#include "SheetPlan.h"

#include <QString>

class QPainter;
class QTransform;

namespace plotviewer {

/// What a tiled sheet says of itself, such as "drawing.plt: row 1, column 2 of 3 × 3"; rows and
/// columns count from 1.
QString sheetLabel(const QString &name, const Sheet &sheet, const SheetPlan &plan);

/// Paints in the band around `sheet.tile`: trim marks at its corners, a tick on each side that has
/// a neighbour where that neighbour's tile begins, and `label` centred below. `toDevice` maps the
/// sheet's millimetres to the painter's coordinates.
void paintSheetMarks(QPainter &painter, const QTransform &toDevice, const Sheet &sheet, const SheetPlan &plan,
    const QString &label);

} // namespace plotviewer
