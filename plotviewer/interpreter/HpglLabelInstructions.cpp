// The label instructions of HpglInterpreter: LB, SM symbols, CP, and the user-defined characters of
// UC, placed by the label state and drawn in the pen's stroke style.

#include "HpglInterpreter.h"

#include "InstructionArguments.h"
#include "LabelLayout.h"
#include "plotviewer/model/Geometry.h"

#include <algorithm>

namespace plotviewer::hpgl {

void HpglInterpreter::drawTextRuns(std::vector<TextRun> runs)
{
    if (runs.empty())
        return;
    ensurePenSelected();
    if (!penVisible())
        return;
    markPage();
    const StrokeStyle style = strokeStyle();
    const AffineMap &map = m_coords.rotatedToOutput();
    for (TextRun &run : runs) {
        run.origin = map.map(run.origin);
        run.advance = map.mapVector(run.advance);
        run.up = map.mapVector(run.up);
        run.across = map.mapVector(run.across);
        m_userCharacters.draw(
            run, [&](const TextRun &part) { m_page.addText(part, style); },
            [&](const std::vector<Point> &stroke) { m_page.addStroke(stroke, style); });
    }
}

void HpglInterpreter::userCharacter(const std::vector<double> &n)
{
    if (n.empty())
        return;
    const LabelFont font = m_labels.currentFont(m_coords.p1(), m_coords.p2());
    const AffineMap &map = m_coords.rotatedToOutput();
    const Point start = toRotated(m_penState.position);
    UserCharacters::Strokes strokes;
    if (const std::string warning = UserCharacters::oneOff(n, start, font.across, font.up, strokes);
        !warning.empty()) {
        warnOnce(warning);
        return;
    }
    if (!strokes.empty()) {
        ensurePenSelected();
        if (penVisible()) {
            markPage();
            const StrokeStyle style = strokeStyle();
            for (std::vector<Point> &stroke : strokes) {
                for (Point &p : stroke)
                    p = map.map(p);
                m_page.addStroke(stroke, style);
            }
        }
    }
    // Like a one-character label, the pen moves on to the next character's place.
    m_penState.position = map.map(add(start, font.advance));
}

void HpglInterpreter::label(const PlotCommand &command)
{
    if (command.unterminated)
        warnOnce("a label had no terminator; it was cut at the end of its line");
    const Point p1 = m_coords.p1();
    const Point p2 = m_coords.p2();
    // The alternate font is drawn only when selected or shifted to (SO); most labels never are.
    const bool mayUseAlternate
        = m_labels.alternateSelected() || command.text.find(char(shiftOut)) != std::string_view::npos;
    const LabelFont standard = m_labels.font(false, p1, p2);
    const LabelFont fonts[2] = { standard, mayUseAlternate ? m_labels.font(true, p1, p2) : standard };
    const AffineMap &map = m_coords.rotatedToOutput();
    LabelLayout::Result layout = LabelLayout::layout(command.text, toRotated(m_penState.position),
        toRotated(m_penState.carriageReturn), fonts, m_labels.alternateSelected(), m_labels.origin(),
        m_labels.path(), m_labels.transparentData());
    drawTextRuns(std::move(layout.runs));
    m_penState.position = map.map(layout.pen);
    m_penState.carriageReturn = map.map(layout.carriageReturn);
    m_labels.setAlternateSelected(layout.alternate);
}

void HpglInterpreter::symbol(Point at)
{
    if (m_labels.symbol().empty())
        return;
    const TextRun run = m_labels.symbolRun(toRotated(at), m_coords.p1(), m_coords.p2());
    endPendingLine(); // the symbol is drawn over the line that reaches it
    drawTextRuns({ run });
}

void HpglInterpreter::characterPlot(const std::vector<double> &n)
{
    const LabelFont font = m_labels.currentFont(m_coords.p1(), m_coords.p2());
    const AffineMap &map = m_coords.rotatedToOutput();
    if (n.empty()) {
        const Point next = add(toRotated(m_penState.carriageReturn), font.lineFeed);
        m_penState.moveTo(map.map(next));
        return;
    }
    if (n.size() < 2 || !allFinite(n))
        return;
    const double spaces = std::clamp(n[0], -1e6, 1e6);
    const double lines = std::clamp(n[1], -1e6, 1e6);
    const Point moved = add(
        toRotated(m_penState.position), add(scaled(font.advance, spaces), scaled(font.lineFeed, -lines)));
    m_penState.position = map.map(moved);
    if (lines != 0)
        m_penState.carriageReturn = m_penState.position;
}

} // namespace plotviewer::hpgl
