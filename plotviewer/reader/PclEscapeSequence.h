#pragma once
// The grammar of one escape sequence after ESC: PCL two-character and parameterised sequences
// (binary payloads skipped by their byte count) and the RS-232 `ESC .` plotter device controls.

#include <cstddef>
#include <cstdint>

namespace plotviewer::hpgl {

struct PclParameter
{
    char prefix = 0; // parameter character, e.g. '&' or '*'
    char group = 0; // group character, lower case, 0 when absent
    char letter = 0; // parameter letter, upper case
    double value = 0;
};

class PclEscapeSequence
{
public:
    enum class Form : std::uint8_t { TwoCharacter, Parameterised, DeviceControl, Malformed };

    /// Reads the sequence whose ESC precedes `begin`. Never reads past `end`.
    static PclEscapeSequence read(const unsigned char *begin, const unsigned char *end);

    Form form = Form::Malformed;
    char finalCharacter = 0; // TwoCharacter: the byte after ESC
    static constexpr std::size_t maxParameters = 16;
    PclParameter parameters[maxParameters];
    std::size_t parameterCount = 0;
    bool carriedRasterData = false;
    const unsigned char *next = nullptr; // first byte after the sequence and its payload

private:
    void readParameters(const unsigned char *p, const unsigned char *end);
    void skipDeviceControl(const unsigned char *p, const unsigned char *end);
};

} // namespace plotviewer::hpgl
