#pragma once
// Reads the arguments of one HP-GL instruction from a byte cursor: numeric lists, labels up to
// the label terminator, quoted or `;`-terminated strings, and the raw characters of DT and SM.

#include <cstddef>
#include <string_view>
#include <vector>

namespace plotviewer::hpgl {

class HpglArgumentLexer
{
public:
    static constexpr unsigned char escape = 27;
    static constexpr unsigned char defaultLabelTerminator = 3; // ETX
    /// An unterminated label or string is cut here (and at its first line break).
    static constexpr std::size_t maxTextLength = 64 * 1024;

    HpglArgumentLexer(const unsigned char *begin, const unsigned char *end);

    const unsigned char *position() const { return m_p; }
    void setPosition(const unsigned char *p) { m_p = p; }
    const unsigned char *end() const { return m_end; }

    /// Appends numbers until the list ends (returns true) or `out` holds `maxCount` (returns false).
    /// With `skipQuoted`, a quoted string among the numbers is skipped.
    bool readNumbers(std::vector<double> &out, std::size_t maxCount, bool skipQuoted);

    /// The label text up to the current terminator, which is consumed (and included when printed).
    std::string_view readLabel(bool &unterminated);
    /// CO/MG text: `"quoted"` or up to `;`.
    std::string_view readString(bool &unterminated);
    /// DT: sets the label terminator and whether it prints; returns the terminator as text.
    std::string_view readTerminatorDefinition();
    /// SM: the symbol character, empty to switch symbol mode off.
    std::string_view readSymbol();

    void resetLabelTerminator();

private:
    bool readNumber(double &value);
    std::string_view readUntil(unsigned char terminator, bool includeTerminator, bool &unterminated);
    void skipQuotedString();

    const unsigned char *m_p;
    const unsigned char *m_end;
    unsigned char m_labelTerminator = defaultLabelTerminator;
    bool m_printTerminator = false;
};

} // namespace plotviewer::hpgl
