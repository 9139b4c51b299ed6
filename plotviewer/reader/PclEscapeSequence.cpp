#include "PclEscapeSequence.h"

#include <algorithm>

namespace plotviewer::hpgl {

namespace {

bool isParameterCharacter(unsigned char c)
{
    return c >= 33 && c <= 47;
}

bool isGroupCharacter(unsigned char c)
{
    return c >= 96 && c <= 126;
}

bool isUpperParameter(unsigned char c)
{
    return c >= 64 && c <= 94;
}

// Sequences whose value is the length of the binary payload that follows.
bool carriesPayload(char prefix, char group, char letter)
{
    switch (prefix) {
    case '*':
        return (letter == 'W'
                   && (group == 'b' || group == 'c' || group == 'v' || group == 'l' || group == 'm'
                       || group == 'i' || group == 'o' || group == 'g'))
            || (letter == 'V' && group == 'b');
    case '(':
        return letter == 'W' && (group == 's' || group == 'f');
    case ')':
        return letter == 'W' && group == 's';
    case '&':
        return (letter == 'X' && group == 'p') || (letter == 'W' && (group == 'n' || group == 'b'));
    default:
        return false;
    }
}

} // namespace

PclEscapeSequence PclEscapeSequence::read(const unsigned char *begin, const unsigned char *end)
{
    PclEscapeSequence sequence;
    sequence.next = begin;
    sequence.m_end = end;
    if (begin == end)
        return sequence;
    const unsigned char first = *begin;
    if (first == '.') {
        sequence.skipDeviceControl(begin + 1, end);
    } else if (first >= 48 && first <= 126) {
        sequence.form = Form::TwoCharacter;
        sequence.finalCharacter = static_cast<char>(first);
        sequence.next = begin + 1;
    } else if (isParameterCharacter(first)) {
        sequence.form = Form::Parameterised;
        sequence.m_prefix = static_cast<char>(first);
        const unsigned char *p = begin + 1;
        if (p < end && isGroupCharacter(*p))
            sequence.m_group = static_cast<char>(*p++);
        sequence.next = p;
        sequence.m_ended = false;
    }
    return sequence;
}

bool PclEscapeSequence::nextParameter(PclParameter &parameter)
{
    if (m_ended)
        return false;
    const unsigned char *p = next;
    const unsigned char *end = m_end;
    double sign = 1;
    const bool signed_ = p < end && (*p == '+' || *p == '-');
    if (signed_)
        sign = *p++ == '-' ? -1 : 1;
    double value = 0;
    while (p < end && *p >= '0' && *p <= '9')
        value = value * 10 + (*p++ - '0');
    if (p < end && *p == '.') {
        double scale = 0.1;
        for (++p; p < end && *p >= '0' && *p <= '9'; ++p, scale /= 10)
            value += (*p - '0') * scale;
    }
    if (p == end || !(isUpperParameter(*p) || isGroupCharacter(*p))) {
        // A byte that fits no rule ends the sequence and is read again as data.
        next = p;
        m_ended = true;
        return false;
    }
    const unsigned char letter = *p++;
    m_ended = isUpperParameter(letter);
    parameter
        = { m_prefix, m_group, static_cast<char>(m_ended ? letter : letter - 32), sign * value, signed_ };
    if (carriesPayload(m_prefix, m_group, parameter.letter)) {
        const double available = static_cast<double>(end - p);
        const double size = std::max(parameter.value, 0.0);
        parameter.data = p;
        parameter.dataSize = static_cast<std::size_t>(std::min(size, available));
        parameter.dataCut = size > available;
        p += static_cast<std::ptrdiff_t>(parameter.dataSize);
    }
    next = p;
    return true;
}

void PclEscapeSequence::skipDeviceControl(const unsigned char *p, const unsigned char *end)
{
    form = Form::DeviceControl;
    if (p == end) {
        next = p;
        return;
    }
    const unsigned char command = *p++;
    switch (command) {
    case '@':
    case 'H':
    case 'I':
    case 'M':
    case 'N':
    case 'P':
    case 'T':
        // Parameters end with a colon; without one, stop before the next instruction letter.
        while (p < end && *p != ':' && !((*p | 0x20) >= 'a' && (*p | 0x20) <= 'z') && *p != 27)
            ++p;
        if (p < end && *p == ':')
            ++p;
        break;
    default:
        break;
    }
    next = p;
}

} // namespace plotviewer::hpgl
