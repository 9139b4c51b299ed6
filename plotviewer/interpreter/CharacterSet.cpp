#include "CharacterSet.h"

#include <array>
#include <cstddef>

namespace plotviewer::hpgl {

namespace {

// clang-format off
// Roman-8, bytes 0xA0 to 0xFF (0xFF has no character).
constexpr std::array<char16_t, 96> roman8Upper = {
    0x00A0, 0x00C0, 0x00C2, 0x00C8, 0x00CA, 0x00CB, 0x00CE, 0x00CF,
    0x00B4, 0x02CB, 0x02C6, 0x00A8, 0x02DC, 0x00D9, 0x00DB, 0x20A4,
    0x00AF, 0x00DD, 0x00FD, 0x00B0, 0x00C7, 0x00E7, 0x00D1, 0x00F1,
    0x00A1, 0x00BF, 0x00A4, 0x00A3, 0x00A5, 0x00A7, 0x0192, 0x00A2,
    0x00E2, 0x00EA, 0x00F4, 0x00FB, 0x00E1, 0x00E9, 0x00F3, 0x00FA,
    0x00E0, 0x00E8, 0x00F2, 0x00F9, 0x00E4, 0x00EB, 0x00F6, 0x00FC,
    0x00C5, 0x00EE, 0x00D8, 0x00C6, 0x00E5, 0x00ED, 0x00F8, 0x00E6,
    0x00C4, 0x00EC, 0x00D6, 0x00DC, 0x00C9, 0x00EF, 0x00DF, 0x00D4,
    0x00C1, 0x00C3, 0x00E3, 0x00D0, 0x00F0, 0x00CD, 0x00CC, 0x00D3,
    0x00D2, 0x00D5, 0x00F5, 0x0160, 0x0161, 0x00DA, 0x0178, 0x00FF,
    0x00DE, 0x00FE, 0x00B7, 0x00B5, 0x00B6, 0x00BE, 0x2014, 0x00BC,
    0x00BD, 0x00AA, 0x00BA, 0x00AB, 0x25A0, 0x00BB, 0x00B1, 0x0000,
};

// Windows Latin-1, bytes 0x80 to 0x9F (the rest is ISO Latin-1).
constexpr std::array<char16_t, 32> windowsLatin1Controls = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
};

// PC-8 (code page 437), bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> pc8Upper = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// PC-850, bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> pc850Upper = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};
// clang-format on

// The twelve code points ISO 646 lets a national variant replace.
constexpr std::array<unsigned char, 12> nationalPositions
    = { 0x23, 0x24, 0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x60, 0x7B, 0x7C, 0x7D, 0x7E };

struct NationalVariant
{
    int symbolSet; // PCL number, 32 * n + letter - 64 for "nL"
    int plotterSet; // CS/CA number
    std::array<char16_t, 12> replacements; // at nationalPositions; 0 keeps ASCII
};

// clang-format off
constexpr NationalVariant nationalVariants[] = {
    //                #       $       @       [       \       ]       ^       `       {       |       }       ~
    { 85, 9,   { 0,      0x00A4, 0,      0,      0,      0,      0,      0,      0,      0,      0,      0x203E } }, // 2U ISO IRV
    { 11, 6,   { 0,      0,      0,      0,      0x00A5, 0,      0,      0,      0,      0,      0,      0x203E } }, // 0K JIS ASCII
    { 115, 30, { 0,      0x00A4, 0,      0x00C4, 0x00D6, 0x00C5, 0,      0,      0x00E4, 0x00F6, 0x00E5, 0x203E } }, // 3S Swedish
    { 19, 31,  { 0,      0x00A4, 0x00C9, 0x00C4, 0x00D6, 0x00C5, 0x00DC, 0x00E9, 0x00E4, 0x00F6, 0x00E5, 0x00FC } }, // 0S Swedish names
    { 4, 32,   { 0,      0,      0,      0x00C6, 0x00D8, 0x00C5, 0,      0,      0x00E6, 0x00F8, 0x00E5, 0x203E } }, // 0D Norwegian 1
    { 39, 33,  { 0,      0,      0x00A7, 0x00C4, 0x00D6, 0x00DC, 0,      0,      0x00E4, 0x00F6, 0x00FC, 0x00DF } }, // 1G German
    { 38, 34,  { 0x00A3, 0,      0x00E0, 0x00B0, 0x00E7, 0x00A7, 0,      0x00B5, 0x00E9, 0x00F9, 0x00E8, 0x00A8 } }, // 1F French
    { 37, 35,  { 0x00A3, 0,      0,      0,      0,      0,      0,      0,      0,      0,      0,      0x203E } }, // 1E United Kingdom
    { 9, 36,   { 0x00A3, 0,      0x00A7, 0x00B0, 0x00E7, 0x00E9, 0,      0x00F9, 0x00E0, 0x00F2, 0x00E8, 0x00EC } }, // 0I Italian
    { 83, 37,  { 0x00A3, 0,      0x00A7, 0x00A1, 0x00D1, 0x00BF, 0,      0,      0x00B0, 0x00F1, 0x00E7, 0      } }, // 2S Spanish
    { 147, 38, { 0,      0,      0x00A7, 0x00C3, 0x00C7, 0x00D5, 0,      0,      0x00E3, 0x00E7, 0x00F5, 0x00B0 } }, // 4S Portuguese
    { 36, 39,  { 0x00A7, 0,      0,      0x00C6, 0x00D8, 0x00C5, 0,      0,      0x00E6, 0x00F8, 0x00E5, 0x007C } }, // 1D Norwegian 2
};
// clang-format on

// The plotters' special-symbol set: centred drafting marks from A, mathematical signs from a;
// the bytes not listed stay ASCII, a code of 0 draws nothing.
struct SymbolCode
{
    unsigned char byte;
    char16_t code;
};
constexpr SymbolCode specialSymbols[] = {
    { 'A', 0x25A1 },
    { 'B', 0x25CB },
    { 'C', 0x25B3 },
    { 'D', 0x002B },
    { 'E', 0x00D7 },
    { 'F', 0x25C7 },
    { 'G', 0x2191 },
    { 'H', 0x2573 },
    { 'I', 0x01B5 },
    { 'J', 0x0059 },
    { 'K', 0x22A0 },
    { 'L', 0x2733 },
    { 'M', 0x2573 },
    { 'N', 0x007C },
    { 'O', 0x2721 },
    { 'P', 0x005F },
    { 'Q', 0x02C8 },
    { 'a', 0x2229 },
    { 'b', 0x2283 },
    { 'c', 0x2282 },
    { 'd', 0x222A },
    { 'e', 0x2261 },
    { 'f', 0x2245 },
    { 'g', 0x2248 },
    { 'h', 0x223C },
    { 'i', 0x2264 },
    { 'j', 0x2265 },
    { 'k', 0x2260 },
    { 'l', 0x0394 },
    { 'm', 0x03A0 },
    { 'n', 0x03A3 },
    { 'o', 0x0000 },
    { 'p', 0x00B1 },
    { 'q', 0x2213 },
    { 'r', 0x2192 },
    { 's', 0x2191 },
    { 't', 0x2190 },
    { 'u', 0x2193 },
    { 'v', 0x222B },
    { 'w', 0x2212 },
    { 'x', 0x2217 },
    { 'y', 0x2207 },
    { 'z', 0x25CA },
};

constexpr int nationalVariantCount = int(std::size(nationalVariants));

// Byte to its place in nationalPositions (-1 for none), and byte to its special symbol (the byte
// itself when not listed), so that decoding a character needs no search.
constexpr std::array<signed char, 128> nationalPositionIndex = [] {
    std::array<signed char, 128> index {};
    index.fill(-1);
    for (std::size_t i = 0; i < nationalPositions.size(); ++i)
        index[nationalPositions[i]] = static_cast<signed char>(i);
    return index;
}();
constexpr std::array<char16_t, 128> specialSymbolByByte = [] {
    std::array<char16_t, 128> table {};
    for (std::size_t byte = 0; byte < table.size(); ++byte)
        table[byte] = static_cast<char16_t>(byte);
    for (const SymbolCode &symbol : specialSymbols)
        table[symbol.byte] = symbol.code;
    return table;
}();

// Symbol sets with an upper half of their own.
constexpr int latin1 = 14; // "0N"
constexpr int windowsLatin1 = 629; // "19U"
constexpr int pc8 = 341; // "10U"
constexpr int pc850 = 405; // "12U"

// Plotter sets drawn as ASCII: the old HP 7-bit sets (9825, French/German, Scandinavian,
// Spanish/Latin American), which have no table here.
constexpr int firstAsciiLikePlotterSet = 1;
constexpr int lastAsciiLikePlotterSet = 4;
constexpr int symbolsPlotterSet = 5;
constexpr int romanExtensionPlotterSet = 7;
constexpr int katakanaPlotterSet = 8;

} // namespace

CharacterSet CharacterSet::forSymbolSet(int number)
{
    for (int i = 0; i < nationalVariantCount; ++i) {
        if (nationalVariants[i].symbolSet == number)
            return { LowerHalf::National, UpperHalf::Roman8, i };
    }
    switch (number) {
    case latin1:
        return { LowerHalf::Ascii, UpperHalf::Latin1 };
    case windowsLatin1:
        return { LowerHalf::Ascii, UpperHalf::WindowsLatin1 };
    case pc8:
        return { LowerHalf::Ascii, UpperHalf::Pc8 };
    case pc850:
        return { LowerHalf::Ascii, UpperHalf::Pc850 };
    default:
        return {};
    }
}

std::optional<CharacterSet> CharacterSet::forPlotterSet(int number)
{
    for (int i = 0; i < nationalVariantCount; ++i) {
        if (nationalVariants[i].plotterSet == number)
            return CharacterSet { LowerHalf::National, UpperHalf::Roman8, i };
    }
    if (number == romanExtensionPlotterSet)
        return CharacterSet { LowerHalf::RomanExtension, UpperHalf::Roman8 };
    if (number == symbolsPlotterSet)
        return CharacterSet { LowerHalf::Symbols, UpperHalf::Roman8 };
    if (number == katakanaPlotterSet)
        return CharacterSet { LowerHalf::Katakana, UpperHalf::Roman8 };
    if (number == downloadablePlotterSet)
        return CharacterSet { LowerHalf::Downloadable, UpperHalf::Roman8 };
    if (number == 0 || (number >= firstAsciiLikePlotterSet && number <= lastAsciiLikePlotterSet))
        return CharacterSet {};
    return std::nullopt;
}

bool CharacterSet::drawsPlotterSet(int number)
{
    return !(number >= firstAsciiLikePlotterSet && number <= lastAsciiLikePlotterSet);
}

char32_t CharacterSet::decodeByTable(unsigned char byte) const
{
    if (m_lower == LowerHalf::Downloadable)
        return firstDownloadedCharacter + byte;
    if (byte == 0x7f)
        return 0;
    if (byte < 0x80) {
        switch (m_lower) {
        case LowerHalf::Ascii:
        case LowerHalf::Downloadable: // decoded above
            break;
        case LowerHalf::National:
            if (const int position = nationalPositionIndex[byte]; position >= 0) {
                const char16_t replacement = nationalVariants[m_national].replacements[std::size_t(position)];
                if (replacement != 0)
                    return replacement;
            }
            break;
        case LowerHalf::RomanExtension:
            // The 7-bit form of Roman-8's upper half.
            if (byte > ' ')
                return roman8Upper[std::size_t(byte - ' ')];
            break;
        case LowerHalf::Symbols:
            return specialSymbolByByte[byte];
        case LowerHalf::Katakana:
            // JIS X 0201: half-width katakana from 0x21; nothing after them.
            if (byte > ' ')
                return byte <= 0x5f ? char32_t(0xFF61 + (byte - 0x21)) : 0;
            break;
        }
        return byte;
    }
    switch (m_upper) {
    case UpperHalf::Roman8:
        return byte < 0xa0 ? 0 : roman8Upper[std::size_t(byte - 0xa0)];
    case UpperHalf::Latin1:
        return byte < 0xa0 ? 0 : byte;
    case UpperHalf::WindowsLatin1:
        return byte < 0xa0 ? windowsLatin1Controls[std::size_t(byte - 0x80)] : byte;
    case UpperHalf::Pc8:
        return pc8Upper[std::size_t(byte - 0x80)];
    case UpperHalf::Pc850:
        return pc850Upper[std::size_t(byte - 0x80)];
    }
    return 0;
}

} // namespace plotviewer::hpgl
