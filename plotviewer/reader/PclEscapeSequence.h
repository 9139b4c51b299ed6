#pragma once
// The grammar of one escape sequence after ESC: PCL two-character and parameterised sequences
// (binary payloads found by their byte count) and the RS-232 `ESC .` plotter device controls.

#include <cstddef>
#include <cstdint>

namespace plotviewer::hpgl {

struct PclParameter
{
    char prefix = 0; // parameter character, e.g. '&' or '*'
    char group = 0; // group character, lower case, 0 when absent
    char letter = 0; // parameter letter, upper case
    double value = 0;
    bool signed_ = false; // the value had a + or -: a relative move for cursor sequences
    /// The binary payload of a data sequence such as ESC*b#W; cut short at the end of the data.
    const unsigned char *data = nullptr;
    std::size_t dataSize = 0;
    bool dataCut = false;
};

/// A parameterised sequence is read one parameter at a time: drivers combine a whole page of
/// raster rows, each with its payload, into one sequence of any length.
class PclEscapeSequence
{
public:
    enum class Form : std::uint8_t { TwoCharacter, Parameterised, DeviceControl, Malformed };

    /// Reads the start of the sequence whose ESC precedes `begin`: all of it but the parameters of
    /// a parameterised one. Never reads past `end`.
    static PclEscapeSequence read(const unsigned char *begin, const unsigned char *end);

    /// The next parameter, with `next` moved past it and its payload; false once the sequence has
    /// ended (after an upper-case parameter letter, or at a byte that fits no rule).
    bool nextParameter(PclParameter &parameter);
    /// Ends the sequence here: what follows is read as data.
    void finish() { m_ended = true; }
    /// Whether parameters may follow.
    bool reading() const { return !m_ended; }

    Form form = Form::Malformed;
    char finalCharacter = 0; // TwoCharacter: the byte after ESC
    const unsigned char *next = nullptr; // first byte after what has been read

private:
    void skipDeviceControl(const unsigned char *p, const unsigned char *end);

    const unsigned char *m_end = nullptr;
    char m_prefix = 0;
    char m_group = 0;
    bool m_ended = true;
};

} // namespace plotviewer::hpgl
