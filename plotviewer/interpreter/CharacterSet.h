#pragma once
// Label bytes to Unicode for the character sets a plotter draws: the HP-GL/2 symbol sets that SD
// and AD name, and the HP-GL/1 sets that CS and CA name (national ISO 7-bit variants, the Roman-8
// extension, Katakana and the drafting and mathematical symbols), all with Roman-8 or the named set's
// characters in the upper half.

#include <optional>

namespace plotviewer::hpgl {

class CharacterSet
{
public:
    static constexpr int roman8 = 277; // "8U", the default symbol set
    /// The CS/CA number of the set whose characters DL defines.
    static constexpr int downloadablePlotterSet = -1;
    /// Characters of the downloadable set decode to this code point plus their number, in a private
    /// use block, until the label is drawn with their definitions.
    static constexpr char32_t firstDownloadedCharacter = 0xF700;
    static constexpr int downloadedCharacterCount = 256;

    /// The symbol set SD/AD kind 1 names by its PCL number; numbers drawn here as Roman-8 are
    /// the sets with no table of their own.
    static CharacterSet forSymbolSet(int number);
    /// The set CS/CA names; empty for a number no plotter knows.
    static std::optional<CharacterSet> forPlotterSet(int number);
    /// Whether forPlotterSet(number) draws that plotter set's own characters rather than ASCII.
    static bool drawsPlotterSet(int number);

    CharacterSet() = default;

    /// The character for a printable byte; 0 for a byte that prints nothing.
    char32_t decode(unsigned char byte) const
    {
        // Plain ASCII, by far the commonest, needs no table.
        if (m_lower == LowerHalf::Ascii && byte < 0x7f)
            return byte;
        return decodeByTable(byte);
    }

    friend bool operator==(const CharacterSet &, const CharacterSet &) = default;

private:
    enum class LowerHalf : unsigned char { Ascii, National, RomanExtension, Katakana, Symbols, Downloadable };
    enum class UpperHalf : unsigned char { Roman8, Latin1, WindowsLatin1, Pc8, Pc850 };

    char32_t decodeByTable(unsigned char byte) const;

    CharacterSet(LowerHalf lower, UpperHalf upper, int national = 0)
        : m_lower(lower)
        , m_upper(upper)
        , m_national(national)
    { }

    LowerHalf m_lower = LowerHalf::Ascii;
    UpperHalf m_upper = UpperHalf::Roman8;
    int m_national = 0; // index of the ISO 646 variant when m_lower is National
};

} // namespace plotviewer::hpgl
