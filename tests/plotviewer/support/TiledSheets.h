#pragma once
// Checks of a drawing printed at actual size over several sheets.

#include "plotviewer/files/SheetPlan.h"
#include "plotviewer/model/DisplayList.h"

#include <QSize>
#include <QString>

namespace plotviewer::test {

class PdfProbe;

/// Reads the labels of a drawing tiled over sheets, from page `first` (counting from 0) of `pdf`
/// on: each sheet says "row R, column C of ROWS × COLUMNS", after `name` when one is given. Empty
/// when the sheets come in reading order and there are as many as the grid holds (pages after
/// them are not read), with `grid` set to columns × rows; otherwise what is wrong. Needs the text
/// as the plot server wrote it: a PDF printer that draws the text anew loses it.
QString checkSheetLabels(const PdfProbe &pdf, int first, const QString &name, QSize *grid);

/// Lays the sheets of `plan`, from page `first` of `pdf`, into one picture of `page`'s drawing,
/// each sheet where it shows the drawing, and compares that with one picture of the whole drawing
/// as compareInk() does. Empty when they match, so that the sheets hold all of the drawing in
/// order; otherwise a description, with both pictures kept in "failed-renders".
QString compareJoinedSheets(const PdfProbe &pdf, int first, const SheetPlan &plan, const Page &page);

} // namespace plotviewer::test
