#include "EncodedPolylineDecoder.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plotviewer::hpgl {

namespace {

constexpr int maxShift = 60; // corrupt data: further digits are consumed but ignored

// What a byte means in PE data: below `ignoredByte` a digit value, with `lastDigit` set on the digit
// that ends a number; otherwise one of the kinds from `ignoredByte` on.
enum ByteClass : unsigned char {
    digitMask = 0x3f,
    lastDigit = 0x40,
    ignoredByte = 0x80, // bytes with no meaning in PE data
    lineBreakByte, // ignored too, but a writer may break long data into lines or pad it
    escapeByte,
    terminatorByte,
    penFlag,
    fractionFlag,
    penUpFlag,
    absoluteFlag,
    sevenBitFlag,
};

using ByteClassTable = std::array<unsigned char, 256>;

constexpr unsigned char classify(unsigned char c, bool sevenBit)
{
    if (c == 27 || c == 0x9b)
        return escapeByte;
    if (c == '\r' || c == '\n' || c == 0)
        return lineBreakByte;
    if (c <= 32 || c == 127 || (c >= 128 && c <= 160) || c == 255)
        return ignoredByte;
    if (sevenBit) {
        c &= 0x7f;
        if (c >= 95 && c <= 126)
            return static_cast<unsigned char>((c - 95) | lastDigit);
    } else if (c >= 191 && c <= 254) {
        return static_cast<unsigned char>((c - 191) | lastDigit);
    }
    if (c >= 63 && c <= 126)
        return static_cast<unsigned char>(c - 63);
    switch (c & 0x7f) { // flags ignore the high bit
    case ';':
        return terminatorByte;
    case ':':
        return penFlag;
    case '>':
        return fractionFlag;
    case '<':
        return penUpFlag;
    case '=':
        return absoluteFlag;
    case '7':
        return sevenBitFlag;
    default:
        return ignoredByte;
    }
}

constexpr ByteClassTable classTable(bool sevenBit)
{
    ByteClassTable table {};
    for (int c = 0; c < 256; ++c)
        table[c] = classify(static_cast<unsigned char>(c), sevenBit);
    return table;
}

constexpr ByteClassTable eightBitClasses = classTable(false);
constexpr ByteClassTable sevenBitClasses = classTable(true);

// The value of a finished number's digits: the magnitude with the sign in bit 0.
long long signedNumber(long long digits)
{
    const long long magnitude = digits >> 1;
    return (digits & 1) ? -magnitude : magnitude;
}

} // namespace

void EncodedPolylineDecoder::reset()
{
    m_state = State();
    m_meaninglessBytes = 0;
}

const unsigned char *EncodedPolylineDecoder::decode(const unsigned char *p, const unsigned char *end,
    std::vector<EncodedStep> &out, std::size_t maxSteps, bool &finished)
{
    // The state stays in registers through the loop and goes back to m_state on return.
    const ByteClassTable *classes = m_state.sevenBit ? &sevenBitClasses : &eightBitClasses;
    int digitBits = m_state.sevenBit ? 5 : 6;
    double unitScale = m_state.unitScale;
    bool haveX = m_state.haveX;
    bool pendingPenUp = m_state.pendingPenUp;
    bool pendingAbsolute = m_state.pendingAbsolute;
    Expect expect = m_state.expect;

    // Steps are written in place into m_decoded, which grows in batches of zeroed steps. The slot
    // after the decoded ones holds x until its y arrives: a double carried round the loop in a
    // register made the compiler chain every conversion to the previous one.
    std::size_t stepsLeft = maxSteps - out.size();
    EncodedStep *slot = m_decoded.data();
    EncodedStep *slotsEnd = slot + m_decoded.size();
    auto ensureSlot = [&] {
        if (slot != slotsEnd) [[likely]]
            return;
        const std::size_t used = m_decoded.size();
        m_decoded.resize(used + std::max<std::size_t>(used, 8));
        slot = m_decoded.data() + used;
        slotsEnd = m_decoded.data() + m_decoded.size();
    };
    if (haveX) {
        ensureSlot();
        slot->x = m_state.x;
    }

    long long digits = 0;
    int shift = 0;
    finished = true;
    for (; p < end; ++p) {
        const unsigned char byteClass = (*classes)[*p];
        if (byteClass < ignoredByte) {
            if (shift < maxShift)
                digits += static_cast<long long>(byteClass & digitMask) << shift;
            shift += digitBits;
            if (!(byteClass & lastDigit))
                continue;
            const long long number = signedNumber(digits);
            digits = 0;
            shift = 0;
            if (expect == Expect::Coordinate) [[likely]] {
                const double coordinate = static_cast<double>(number) * unitScale; // a power of 2: exact
                haveX = !haveX;
                if (haveX) {
                    ensureSlot();
                    slot->x = coordinate;
                    continue;
                }
                slot->kind = EncodedStep::Kind::Point;
                slot->penUp = pendingPenUp;
                slot->absolute = pendingAbsolute;
                slot->y = coordinate;
                ++slot;
                pendingPenUp = false;
                pendingAbsolute = false;
            } else if (expect == Expect::PenNumber) {
                expect = Expect::Coordinate;
                ensureSlot();
                const double waitingX = slot->x;
                slot->kind = EncodedStep::Kind::SelectPen;
                slot->penUp = false;
                slot->absolute = false;
                slot->x = static_cast<double>(number);
                slot->y = 0;
                ++slot;
                if (haveX) {
                    ensureSlot();
                    slot->x = waitingX;
                }
            } else {
                expect = Expect::Coordinate;
                unitScale = std::ldexp(1.0, -static_cast<int>(std::clamp<long long>(number, -26, 26)));
                continue;
            }
            if (--stepsLeft == 0) {
                finished = false;
                ++p;
                break;
            }
            continue;
        }
        if (byteClass == escapeByte)
            break;
        if (byteClass == terminatorByte) {
            ++p;
            break;
        }
        switch (byteClass) {
        case penFlag:
            expect = Expect::PenNumber;
            break;
        case fractionFlag:
            expect = Expect::FractionBits;
            break;
        case penUpFlag:
            pendingPenUp = true;
            break;
        case absoluteFlag:
            pendingAbsolute = true;
            break;
        case sevenBitFlag:
            classes = &sevenBitClasses;
            digitBits = 5;
            break;
        case ignoredByte:
            ++m_meaninglessBytes;
            break;
        default:
            break;
        }
    }
    if (haveX)
        m_state.x = slot->x;
    out.insert(out.end(), m_decoded.data(), slot);
    m_state.sevenBit = classes == &sevenBitClasses;
    m_state.unitScale = unitScale;
    m_state.haveX = haveX;
    m_state.pendingPenUp = pendingPenUp;
    m_state.pendingAbsolute = pendingAbsolute;
    m_state.expect = expect;
    return p;
}

} // namespace plotviewer::hpgl
