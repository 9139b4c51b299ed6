// What each HP-GL instruction does: one handler each, keyed by the reader's instruction table.
// Instructions without one are parsed and deliberately ignored.

#include "HpglInterpreter.h"

#include "InstructionArguments.h"

#include <initializer_list>

namespace plotviewer::hpgl {

const std::array<HpglInterpreter::InstructionHandler, instructionCount> &
HpglInterpreter::instructionHandlers()
{
    using I = Instruction;
    using Command = const PlotCommand &;
    static const std::array<InstructionHandler, instructionCount> handlers = [] {
        std::array<InstructionHandler, instructionCount> table {};
        const auto on
            = [&table](std::initializer_list<Instruction> instructions, InstructionHandler handler) {
                  for (const Instruction instruction : instructions)
                      table[indexOf(instruction)] = handler;
              };

        // Set-up, scaling and pages
        on({ I::IN, I::BP }, [](HpglInterpreter &p, Command, bool first) {
            if (first)
                p.initialize();
        });
        on({ I::DF }, [](HpglInterpreter &p, Command, bool) { p.setDefaults(); });
        on({ I::PG, I::FR, I::AF, I::AH }, [](HpglInterpreter &p, Command, bool) { p.finishPage(); });
        on({ I::IP, I::IR },
            [](HpglInterpreter &p, Command c, bool) { p.inputP1P2(c.numbers, c.instruction == I::IR); });
        on({ I::SC }, [](HpglInterpreter &p, Command c, bool) { p.scale(c.numbers); });
        on({ I::IW }, [](HpglInterpreter &p, Command c, bool) { p.inputWindow(c.numbers); });
        on({ I::RO }, [](HpglInterpreter &p, Command c, bool) { p.rotate(c.numbers); });
        on({ I::PS }, [](HpglInterpreter &p, Command c, bool) { p.plotSize(c.numbers); });

        // Drawing
        on({ I::PU, I::PD, I::PA, I::PR },
            [](HpglInterpreter &p, Command c, bool first) { p.penMove(c, first, c.instruction == I::PD); });
        on({ I::PE }, [](HpglInterpreter &p, Command c, bool) { p.encodedPolyline(c); });
        on({ I::CI }, [](HpglInterpreter &p, Command c, bool) { p.circle(c.numbers); });
        on({ I::AA, I::AR },
            [](HpglInterpreter &p, Command c, bool) { p.arc(c.numbers, c.instruction == I::AR); });
        on({ I::AT, I::RT },
            [](HpglInterpreter &p, Command c, bool) { p.arcThreePoint(c.numbers, c.instruction == I::RT); });
        on({ I::BZ, I::BR },
            [](HpglInterpreter &p, Command c, bool) { p.bezier(c.numbers, c.instruction == I::BR); });
        on({ I::XT, I::YT }, [](HpglInterpreter &p, Command c, bool) { p.ticks(c.instruction == I::XT); });

        // Polygons and fills
        on({ I::PM }, [](HpglInterpreter &p, Command c, bool) { p.polygonMode(c.numbers); });
        on({ I::EP }, [](HpglInterpreter &p, Command, bool) { p.edgePolygon(); });
        on({ I::FP }, [](HpglInterpreter &p, Command c, bool) { p.fillPolygon(argument(c.numbers, 0, 0)); });
        on({ I::EA, I::ER }, [](HpglInterpreter &p, Command c, bool) {
            p.rectangle(c.numbers, c.instruction == I::ER, false, false);
        });
        on({ I::RA, I::RR }, [](HpglInterpreter &p, Command c, bool) {
            p.rectangle(c.numbers, c.instruction == I::RR, true, false);
        });
        on({ I::RQ }, [](HpglInterpreter &p, Command c, bool) { p.rectangle(c.numbers, true, true, true); });
        on({ I::EW, I::WG },
            [](HpglInterpreter &p, Command c, bool) { p.wedge(c.numbers, c.instruction == I::WG); });
        on({ I::FT }, [](HpglInterpreter &p, Command c, bool) { p.m_fill.setFillType(c.numbers); });
        on({ I::RF }, [](HpglInterpreter &p, Command c, bool) { p.m_fill.defineRasterPattern(c.numbers); });
        on({ I::AC }, [](HpglInterpreter &p, Command c, bool) { p.anchorCorner(c.numbers); });
        on({ I::TR }, [](HpglInterpreter &p, Command c, bool) {
            p.m_fill.setTransparent(argument(c.numbers, 0, 1) != 0);
        });

        // Pens and lines
        on({ I::SP }, [](HpglInterpreter &p, Command c, bool) { p.selectPen(argument(c.numbers, 0, 0)); });
        on({ I::NP }, [](HpglInterpreter &p, Command c, bool) {
            p.m_pens.setPaletteSize(
                c.numbers.empty() ? PenPalette::defaultPaletteSize : argument(c.numbers, 0, 0));
        });
        on({ I::PC }, [](HpglInterpreter &p, Command c, bool) { p.m_pens.penColour(c.numbers); });
        on({ I::CR }, [](HpglInterpreter &p, Command c, bool) { p.m_pens.colourRange(c.numbers); });
        on({ I::PW }, [](HpglInterpreter &p, Command c, bool) { p.m_pens.penWidth(c.numbers); });
        on({ I::WU }, [](HpglInterpreter &p, Command c, bool) {
            p.m_pens.setRelativeWidths(argument(c.numbers, 0, 0) == 1);
        });
        on({ I::PT }, [](HpglInterpreter &p, Command c, bool) { p.m_pens.penThickness(c.numbers); });
        on({ I::LT }, [](HpglInterpreter &p, Command c, bool) { p.m_lineType.lineType(c.numbers); });
        on({ I::UL }, [](HpglInterpreter &p, Command c, bool) { p.m_lineType.userLineType(c.numbers); });
        on({ I::LA }, [](HpglInterpreter &p, Command c, bool) { p.m_line.setLineAttributes(c.numbers); });
        on({ I::SV }, [](HpglInterpreter &p, Command c, bool) { p.m_line.setScreen(c.numbers); });
        on({ I::TL }, [](HpglInterpreter &p, Command c, bool) { p.m_line.setTickLength(c.numbers); });
        on({ I::CT }, [](HpglInterpreter &p, Command c, bool) { p.m_line.setChordTolerance(c.numbers); });

        // Labels
        on({ I::LB }, [](HpglInterpreter &p, Command c, bool) { p.label(c); });
        on({ I::CP }, [](HpglInterpreter &p, Command c, bool) { p.characterPlot(c.numbers); });
        on({ I::SM }, [](HpglInterpreter &p, Command c, bool) { p.m_labels.setSymbol(c.text); });
        on({ I::SI, I::SR }, [](HpglInterpreter &p, Command c, bool) {
            p.m_labels.setSize(c.instruction == I::SR, c.numbers);
        });
        on({ I::DI, I::DR }, [](HpglInterpreter &p, Command c, bool) {
            p.m_labels.setDirection(c.instruction == I::DR, c.numbers);
            p.m_penState.carriageReturn = p.m_penState.position;
        });
        on({ I::DV }, [](HpglInterpreter &p, Command c, bool) {
            p.m_labels.setPath(c.numbers);
            p.m_penState.carriageReturn = p.m_penState.position;
        });
        on({ I::LO }, [](HpglInterpreter &p, Command c, bool) {
            p.m_labels.setOrigin(c.numbers);
            p.m_penState.carriageReturn = p.m_penState.position;
        });
        on({ I::ES }, [](HpglInterpreter &p, Command c, bool) { p.m_labels.setExtraSpace(c.numbers); });
        on({ I::SL }, [](HpglInterpreter &p, Command c, bool) { p.m_labels.setSlant(c.numbers); });
        on({ I::SD, I::AD }, [](HpglInterpreter &p, Command c, bool) {
            p.m_labels.setFontDefinition(c.instruction == I::AD, c.numbers);
        });
        on({ I::CS, I::CA }, [](HpglInterpreter &p, Command c, bool) {
            p.warnOnce(p.m_labels.setCharacterSet(c.instruction == I::CA, argument(c.numbers, 0, 0)));
        });
        on({ I::DL }, [](HpglInterpreter &p, Command c, bool first) {
            if (first) // a continued list is one too long, ignored with its first part
                p.warnOnce(p.m_userCharacters.define(c.numbers));
        });
        on({ I::UC }, [](HpglInterpreter &p, Command c, bool first) {
            if (first)
                p.userCharacter(c.numbers);
        });
        on({ I::SS, I::SA }, [](HpglInterpreter &p, Command c, bool) {
            p.m_labels.setAlternateSelected(c.instruction == I::SA);
        });
        on({ I::TD }, [](HpglInterpreter &p, Command c, bool) { p.m_labels.setTransparentData(c.numbers); });
        return table;
    }();
    return handlers;
}

} // namespace plotviewer::hpgl
