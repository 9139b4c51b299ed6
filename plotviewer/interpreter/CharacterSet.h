#pragma once
// Label bytes to Unicode: ASCII in the lower half, Roman-8 (the default symbol set) or ISO Latin-1
// in the upper half.

namespace plotviewer::hpgl {

class CharacterSet
{
public:
    static constexpr int roman8 = 277; // "8U"
    static constexpr int latin1 = 14; // "0N"
    static constexpr int windowsLatin1 = 629; // "19U"

    explicit CharacterSet(int symbolSet = roman8)
        : m_symbolSet(symbolSet)
    { }

    /// The character for a printable byte; 0 for a byte that prints nothing.
    char32_t decode(unsigned char byte) const;

private:
    int m_symbolSet;
};

} // namespace plotviewer::hpgl
