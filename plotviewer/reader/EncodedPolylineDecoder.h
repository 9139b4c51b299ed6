#pragma once
// Decodes the data of a PE instruction (base-64 8-bit or base-32 7-bit numbers, least significant
// digit first, sign in bit 0) into pen selections and coordinate pairs.

#include "PlotCommand.h"

#include <cstddef>
#include <vector>

namespace plotviewer::hpgl {

class EncodedPolylineDecoder
{
public:
    /// Starts a new PE instruction: 8-bit mode, no fraction bits, no pending flags.
    void reset();

    /// Decodes from `p` until `;` (consumed), ESC (not consumed), end of data, or until `out` holds
    /// `maxSteps` steps (it must hold fewer on entry). `finished` tells whether the instruction ended.
    const unsigned char *decode(const unsigned char *p, const unsigned char *end,
        std::vector<EncodedStep> &out, std::size_t maxSteps, bool &finished);

    /// Bytes since reset() that mean nothing in PE data, line breaks and NULs aside.
    std::size_t meaninglessBytes() const { return m_meaninglessBytes; }

private:
    enum class Expect : unsigned char { Coordinate, PenNumber, FractionBits };

    // What carries over from one chunk of steps to the next; decode() works on local copies.
    struct State
    {
        double unitScale = 1; // 2^-fraction bits
        double x = 0;
        bool sevenBit = false;
        bool pendingPenUp = false;
        bool pendingAbsolute = false;
        bool haveX = false;
        Expect expect = Expect::Coordinate;
    };

    State m_state;
    std::size_t m_meaninglessBytes = 0;
    // Steps are decoded in place here and appended to the caller's vector in one go. Kept from call
    // to call, so it is sized once (at most one chunk and a waiting x).
    std::vector<EncodedStep> m_decoded;
};

} // namespace plotviewer::hpgl
