#pragma once
// Every instruction of HP-GL and HP-GL/2 the reader knows (drawn, emulated or deliberately
// ignored), one row each with what the interpreter must know of it before it runs: whether it
// carries on the line being drawn, whether polygon mode takes it, and whether it starts the line
// pattern afresh. Adding an instruction is one row here and one handler in the interpreter.

#include "Mnemonic.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace plotviewer::hpgl {

// ROW(name, continues the line being drawn, allowed in polygon mode, restarts the line pattern). Only
// moves from the pen's place carry the line on; any other instruction may change the pen, width, line
// type, clip or frame it is drawn with. Polygon mode takes the moves, CI, PM, IN, DF and CO. A fixed
// line pattern carries its unused part from vector to vector until an instruction that changes the
// pen, the pattern, the fill or the scale it is measured in drops it, valid or not.
// clang-format off
#define PLOTVIEWER_HPGL_INSTRUCTIONS(ROW) \
    ROW(AA, true, true, false) \
    ROW(AC, false, false, true) \
    ROW(AD, false, false, false) \
    ROW(AF, false, false, false) \
    ROW(AH, false, false, false) \
    ROW(AP, false, false, false) \
    ROW(AR, true, true, false) \
    ROW(AS, false, false, false) \
    ROW(AT, true, true, false) \
    ROW(BF, false, false, false) \
    ROW(BL, false, false, false) \
    ROW(BP, false, false, false) \
    ROW(BR, true, true, false) \
    ROW(BZ, true, true, false) \
    ROW(CA, false, false, false) \
    ROW(CC, false, false, false) \
    ROW(CF, false, false, false) \
    ROW(CI, false, true, false) \
    ROW(CM, false, false, false) \
    ROW(CO, false, true, false) \
    ROW(CP, false, false, false) \
    ROW(CR, false, false, false) \
    ROW(CS, false, false, false) \
    ROW(CT, false, false, false) \
    ROW(CV, false, false, false) \
    ROW(DC, false, false, false) \
    ROW(DF, false, true, true) \
    ROW(DI, false, false, false) \
    ROW(DL, false, false, false) \
    ROW(DP, false, false, false) \
    ROW(DR, false, false, false) \
    ROW(DS, false, false, false) \
    ROW(DT, false, false, false) \
    ROW(DV, false, false, false) \
    ROW(EA, false, false, false) \
    ROW(EC, false, false, false) \
    ROW(EP, false, false, false) \
    ROW(ER, false, false, false) \
    ROW(ES, false, false, false) \
    ROW(EW, false, false, false) \
    ROW(FI, false, false, false) \
    ROW(FN, false, false, false) \
    ROW(FP, false, false, false) \
    ROW(FR, false, false, false) \
    ROW(FS, false, false, false) \
    ROW(FT, false, false, false) \
    ROW(GC, false, false, false) \
    ROW(GM, false, false, false) \
    ROW(IM, false, false, false) \
    ROW(IN, false, true, true) \
    ROW(IP, false, false, true) \
    ROW(IR, false, false, true) \
    ROW(IV, false, false, false) \
    ROW(IW, false, false, true) \
    ROW(KY, false, false, false) \
    ROW(LA, false, false, true) \
    ROW(LB, false, false, false) \
    ROW(LM, false, false, false) \
    ROW(LO, false, false, false) \
    ROW(LT, false, false, true) \
    ROW(MC, false, false, false) \
    ROW(MG, false, false, false) \
    ROW(MT, false, false, false) \
    ROW(NP, false, false, false) \
    ROW(NR, false, false, false) \
    ROW(OA, false, false, false) \
    ROW(OC, false, false, false) \
    ROW(OD, false, false, false) \
    ROW(OE, false, false, false) \
    ROW(OF, false, false, false) \
    ROW(OG, false, false, false) \
    ROW(OH, false, false, false) \
    ROW(OI, false, false, false) \
    ROW(OK, false, false, false) \
    ROW(OL, false, false, false) \
    ROW(OO, false, false, false) \
    ROW(OP, false, false, false) \
    ROW(OS, false, false, false) \
    ROW(OT, false, false, false) \
    ROW(OW, false, false, false) \
    ROW(PA, true, true, false) \
    ROW(PB, false, false, false) \
    ROW(PC, false, false, false) \
    ROW(PD, true, true, false) \
    ROW(PE, true, true, false) \
    ROW(PG, false, false, false) \
    ROW(PM, false, true, false) \
    ROW(PP, false, false, false) \
    ROW(PR, true, true, false) \
    ROW(PS, false, false, false) \
    ROW(PT, false, false, false) \
    ROW(PU, false, true, false) \
    ROW(PW, false, false, true) \
    ROW(QL, false, false, false) \
    ROW(RA, false, false, false) \
    ROW(RF, false, false, true) \
    ROW(RO, false, false, true) \
    ROW(RP, false, false, false) \
    ROW(RQ, false, false, false) \
    ROW(RR, false, false, false) \
    ROW(RT, true, true, false) \
    ROW(SA, false, false, false) \
    ROW(SB, false, false, false) \
    ROW(SC, false, false, true) \
    ROW(SD, false, false, false) \
    ROW(SI, false, false, false) \
    ROW(SL, false, false, false) \
    ROW(SM, false, false, false) \
    ROW(SP, false, false, true) \
    ROW(SR, false, false, false) \
    ROW(SS, false, false, false) \
    ROW(ST, false, false, false) \
    ROW(SV, false, false, false) \
    ROW(TD, false, false, false) \
    ROW(TL, false, false, false) \
    ROW(TR, false, false, true) \
    ROW(UC, false, false, false) \
    ROW(UL, false, false, true) \
    ROW(VS, false, false, false) \
    ROW(WD, false, false, false) \
    ROW(WG, false, false, false) \
    ROW(WU, false, false, true) \
    ROW(XT, false, false, false) \
    ROW(YT, false, false, false)
// clang-format on

enum class Instruction : std::uint8_t {
#define PLOTVIEWER_HPGL_ENUMERATOR(name, continues, inPolygon, restarts) name,
    PLOTVIEWER_HPGL_INSTRUCTIONS(PLOTVIEWER_HPGL_ENUMERATOR)
#undef PLOTVIEWER_HPGL_ENUMERATOR
};

struct InstructionTraits
{
    Mnemonic name;
    bool continuesLine;
    bool allowedInPolygonMode;
    bool restartsLinePattern;
};

inline constexpr InstructionTraits instructionTraits[] = {
#define PLOTVIEWER_HPGL_TRAITS(name, carries, polygon, restarts) { #name ""_mn, carries, polygon, restarts },
    PLOTVIEWER_HPGL_INSTRUCTIONS(PLOTVIEWER_HPGL_TRAITS)
#undef PLOTVIEWER_HPGL_TRAITS
};

inline constexpr std::size_t instructionCount = std::size(instructionTraits);

constexpr std::size_t indexOf(Instruction instruction)
{
    return static_cast<std::size_t>(instruction);
}

constexpr const InstructionTraits &traitsOf(Instruction instruction)
{
    return instructionTraits[indexOf(instruction)];
}

/// The instruction named `name`, or nullopt for a name HP-GL does not have.
std::optional<Instruction> instructionNamed(Mnemonic name);

} // namespace plotviewer::hpgl
