#include "Instruction.h"

namespace plotviewer::hpgl {

namespace {

constexpr std::size_t letters = 26;

/// The instructions by their letters, A to Z each: the instruction's index and one, or 0 for none.
constexpr std::array<std::uint8_t, letters * letters> buildLookup()
{
    std::array<std::uint8_t, letters * letters> lookup {};
    for (std::size_t i = 0; i < instructionCount; ++i) {
        const Mnemonic name = instructionTraits[i].name;
        lookup[std::size_t((name >> 8) - 'A') * letters + std::size_t((name & 0xff) - 'A')]
            = static_cast<std::uint8_t>(i + 1);
    }
    return lookup;
}

constexpr std::array<std::uint8_t, letters *letters> lookup = buildLookup();

} // namespace

std::optional<Instruction> instructionNamed(Mnemonic name)
{
    const int first = (name >> 8) - 'A';
    const int second = (name & 0xff) - 'A';
    if (first < 0 || first >= int(letters) || second < 0 || second >= int(letters))
        return std::nullopt;
    const std::uint8_t entry = lookup[std::size_t(first) * letters + std::size_t(second)];
    if (entry == 0)
        return std::nullopt;
    return static_cast<Instruction>(entry - 1);
}

} // namespace plotviewer::hpgl
