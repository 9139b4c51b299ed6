#include "Mnemonic.h"

#include <array>
#include <string_view>

namespace plotviewer::hpgl {

namespace {

// HP-GL/1 and HP-GL/2 instructions, including the ones a viewer parses and discards.
constexpr std::string_view knownNames
    = "AA AC AD AF AH AP AR AS AT BF BL BP BR BZ CA CC CF CI CM CO CP CR CS CT CV "
      "DC DF DI DL DP DR DS DT DV EA EC EP ER ES EW FI FN FP FR FS FT GC GM IM IN "
      "IP IR IV IW KY LA LB LM LO LT MC MG MT NP NR OA OC OD OE OF OG OH OI OK OL "
      "OO OP OS OT OW PA PB PC PD PE PG PM PP PR PS PT PU PW QL RA RF RO RP RQ RR "
      "RT SA SB SC SD SI SL SM SP SR SS ST SV TD TL TR UC UL VS WD WG WU XT YT";

constexpr std::array<bool, 26 * 26> buildTable()
{
    std::array<bool, 26 * 26> table {};
    for (std::size_t i = 0; i + 1 < knownNames.size(); i += 3)
        table[static_cast<std::size_t>((knownNames[i] - 'A') * 26 + (knownNames[i + 1] - 'A'))] = true;
    return table;
}

constexpr std::array<bool, 26 * 26> knownTable = buildTable();

} // namespace

bool isKnownMnemonic(Mnemonic name)
{
    const int first = (name >> 8) - 'A';
    const int second = (name & 0xff) - 'A';
    if (first < 0 || first >= 26 || second < 0 || second >= 26)
        return false;
    return knownTable[static_cast<std::size_t>(first * 26 + second)];
}

std::string mnemonicText(Mnemonic name)
{
    return { static_cast<char>(name >> 8), static_cast<char>(name & 0xff) };
}

} // namespace plotviewer::hpgl
