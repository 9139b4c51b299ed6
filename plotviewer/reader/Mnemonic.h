#pragma once
// Two-letter HP-GL instruction names packed into one integer, upper case.

#include <cstdint>
#include <string>

namespace plotviewer::hpgl {

using Mnemonic = std::uint16_t;

constexpr Mnemonic mnemonic(char first, char second)
{
    return static_cast<Mnemonic>(
        (static_cast<unsigned char>(first) << 8) | static_cast<unsigned char>(second));
}

/// "PA"_mn style literal for switch labels.
constexpr Mnemonic operator""_mn(const char *text, std::size_t)
{
    return mnemonic(text[0], text[1]);
}

/// True for every instruction of HP-GL or HP-GL/2 (drawn, emulated or deliberately ignored).
bool isKnownMnemonic(Mnemonic name);

std::string mnemonicText(Mnemonic name);

} // namespace plotviewer::hpgl
