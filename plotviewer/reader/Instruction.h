#pragma once
// Every instruction of HP-GL and HP-GL/2 the reader knows (drawn, emulated or deliberately
// ignored), one row each with what the interpreter must know of it before it runs: whether it
// carries on the line being drawn, and whether polygon mode takes it. Adding an instruction is one
// row here and one handler in the interpreter.

#include "Mnemonic.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace plotviewer::hpgl {

// ROW(name, continues the line being drawn, allowed in polygon mode). Only moves from the pen's place
// carry the line on; any other instruction may change the pen, width, line type, clip or frame it
// is drawn with. Polygon mode takes the moves, CI, PM, IN, DF and CO.
// clang-format off
#define PLOTVIEWER_HPGL_INSTRUCTIONS(ROW) \
    ROW(AA, true, true) \
    ROW(AC, false, false) \
    ROW(AD, false, false) \
    ROW(AF, false, false) \
    ROW(AH, false, false) \
    ROW(AP, false, false) \
    ROW(AR, true, true) \
    ROW(AS, false, false) \
    ROW(AT, true, true) \
    ROW(BF, false, false) \
    ROW(BL, false, false) \
    ROW(BP, false, false) \
    ROW(BR, true, true) \
    ROW(BZ, true, true) \
    ROW(CA, false, false) \
    ROW(CC, false, false) \
    ROW(CF, false, false) \
    ROW(CI, false, true) \
    ROW(CM, false, false) \
    ROW(CO, false, true) \
    ROW(CP, false, false) \
    ROW(CR, false, false) \
    ROW(CS, false, false) \
    ROW(CT, false, false) \
    ROW(CV, false, false) \
    ROW(DC, false, false) \
    ROW(DF, false, true) \
    ROW(DI, false, false) \
    ROW(DL, false, false) \
    ROW(DP, false, false) \
    ROW(DR, false, false) \
    ROW(DS, false, false) \
    ROW(DT, false, false) \
    ROW(DV, false, false) \
    ROW(EA, false, false) \
    ROW(EC, false, false) \
    ROW(EP, false, false) \
    ROW(ER, false, false) \
    ROW(ES, false, false) \
    ROW(EW, false, false) \
    ROW(FI, false, false) \
    ROW(FN, false, false) \
    ROW(FP, false, false) \
    ROW(FR, false, false) \
    ROW(FS, false, false) \
    ROW(FT, false, false) \
    ROW(GC, false, false) \
    ROW(GM, false, false) \
    ROW(IM, false, false) \
    ROW(IN, false, true) \
    ROW(IP, false, false) \
    ROW(IR, false, false) \
    ROW(IV, false, false) \
    ROW(IW, false, false) \
    ROW(KY, false, false) \
    ROW(LA, false, false) \
    ROW(LB, false, false) \
    ROW(LM, false, false) \
    ROW(LO, false, false) \
    ROW(LT, false, false) \
    ROW(MC, false, false) \
    ROW(MG, false, false) \
    ROW(MT, false, false) \
    ROW(NP, false, false) \
    ROW(NR, false, false) \
    ROW(OA, false, false) \
    ROW(OC, false, false) \
    ROW(OD, false, false) \
    ROW(OE, false, false) \
    ROW(OF, false, false) \
    ROW(OG, false, false) \
    ROW(OH, false, false) \
    ROW(OI, false, false) \
    ROW(OK, false, false) \
    ROW(OL, false, false) \
    ROW(OO, false, false) \
    ROW(OP, false, false) \
    ROW(OS, false, false) \
    ROW(OT, false, false) \
    ROW(OW, false, false) \
    ROW(PA, true, true) \
    ROW(PB, false, false) \
    ROW(PC, false, false) \
    ROW(PD, true, true) \
    ROW(PE, true, true) \
    ROW(PG, false, false) \
    ROW(PM, false, true) \
    ROW(PP, false, false) \
    ROW(PR, true, true) \
    ROW(PS, false, false) \
    ROW(PT, false, false) \
    ROW(PU, false, true) \
    ROW(PW, false, false) \
    ROW(QL, false, false) \
    ROW(RA, false, false) \
    ROW(RF, false, false) \
    ROW(RO, false, false) \
    ROW(RP, false, false) \
    ROW(RQ, false, false) \
    ROW(RR, false, false) \
    ROW(RT, true, true) \
    ROW(SA, false, false) \
    ROW(SB, false, false) \
    ROW(SC, false, false) \
    ROW(SD, false, false) \
    ROW(SI, false, false) \
    ROW(SL, false, false) \
    ROW(SM, false, false) \
    ROW(SP, false, false) \
    ROW(SR, false, false) \
    ROW(SS, false, false) \
    ROW(ST, false, false) \
    ROW(SV, false, false) \
    ROW(TD, false, false) \
    ROW(TL, false, false) \
    ROW(TR, false, false) \
    ROW(UC, false, false) \
    ROW(UL, false, false) \
    ROW(VS, false, false) \
    ROW(WD, false, false) \
    ROW(WG, false, false) \
    ROW(WU, false, false) \
    ROW(XT, false, false) \
    ROW(YT, false, false)
// clang-format on

enum class Instruction : std::uint8_t {
#define PLOTVIEWER_HPGL_ENUMERATOR(name, continues, inPolygon) name,
    PLOTVIEWER_HPGL_INSTRUCTIONS(PLOTVIEWER_HPGL_ENUMERATOR)
#undef PLOTVIEWER_HPGL_ENUMERATOR
};

struct InstructionTraits
{
    Mnemonic name;
    bool continuesLine;
    bool allowedInPolygonMode;
};

inline constexpr InstructionTraits instructionTraits[] = {
#define PLOTVIEWER_HPGL_TRAITS(name, continues, inPolygon) { #name ""_mn, continues, inPolygon },
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
