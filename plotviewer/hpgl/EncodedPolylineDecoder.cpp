#include "EncodedPolylineDecoder.h"

#include <algorithm>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr unsigned char escape = 27;
constexpr unsigned char escapeHighBit = 0x9b;
constexpr int maxShift = 60; // corrupt data: further digits are consumed but ignored

bool isIgnored(unsigned char c)
{
    return c <= 32 || c == 127 || (c >= 128 && c <= 160) || c == 255;
}

} // namespace

void EncodedPolylineDecoder::reset()
{
    *this = EncodedPolylineDecoder();
}

const unsigned char *EncodedPolylineDecoder::decode(const unsigned char *p, const unsigned char *end,
    std::vector<EncodedStep> &out, std::size_t maxSteps, bool &finished)
{
    finished = false;
    long long value = 0;
    int shift = 0;
    while (p < end) {
        unsigned char c = *p;
        if (c == escape || c == escapeHighBit) {
            finished = true;
            return p;
        }
        ++p;
        if (isIgnored(c))
            continue;
        if (m_sevenBit)
            c &= 0x7f;
        int digit = -1;
        bool lastDigit = false;
        if (m_sevenBit && c >= 63 && c <= 126) {
            lastDigit = c >= 95;
            digit = lastDigit ? c - 95 : c - 63;
        } else if (!m_sevenBit && c >= 63 && c <= 126) {
            digit = c - 63;
        } else if (!m_sevenBit && c >= 191 && c <= 254) {
            lastDigit = true;
            digit = c - 191;
        }
        if (digit >= 0) {
            if (shift < maxShift)
                value += static_cast<long long>(digit) << shift;
            shift += m_sevenBit ? 5 : 6;
            if (lastDigit) {
                finishNumber(value, out);
                value = 0;
                shift = 0;
                if (out.size() >= maxSteps)
                    return p;
            }
            continue;
        }
        switch (c & 0x7f) {
        case ';':
            finished = true;
            return p;
        case ':':
            m_expect = Expect::PenNumber;
            break;
        case '>':
            m_expect = Expect::FractionBits;
            break;
        case '<':
            m_pendingPenUp = true;
            break;
        case '=':
            m_pendingAbsolute = true;
            break;
        case '7':
            m_sevenBit = true;
            break;
        default:
            break;
        }
    }
    finished = true;
    return p;
}

void EncodedPolylineDecoder::finishNumber(long long value, std::vector<EncodedStep> &out)
{
    const long long magnitude = value >> 1;
    const long long number = (value & 1) ? -magnitude : magnitude;
    switch (m_expect) {
    case Expect::PenNumber: {
        EncodedStep step;
        step.kind = EncodedStep::Kind::SelectPen;
        step.x = static_cast<double>(number);
        out.push_back(step);
        m_expect = Expect::Coordinate;
        return;
    }
    case Expect::FractionBits:
        m_fractionBits = static_cast<int>(std::clamp<long long>(number, -26, 26));
        m_expect = Expect::Coordinate;
        return;
    case Expect::Coordinate:
        break;
    }
    const double coordinate = std::ldexp(static_cast<double>(number), -m_fractionBits);
    if (!m_haveX) {
        m_x = coordinate;
        m_haveX = true;
        return;
    }
    EncodedStep step;
    step.penUp = m_pendingPenUp;
    step.absolute = m_pendingAbsolute;
    step.x = m_x;
    step.y = coordinate;
    out.push_back(step);
    m_haveX = false;
    m_pendingPenUp = false;
    m_pendingAbsolute = false;
}

} // namespace plotviewer::hpgl
