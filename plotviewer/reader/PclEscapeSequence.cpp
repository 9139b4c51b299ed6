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
        sequence.readParameters(begin, end);
    }
    return sequence;
}

void PclEscapeSequence::readParameters(const unsigned char *p, const unsigned char *end)
{
    form = Form::Parameterised;
    const char prefix = static_cast<char>(*p++);
    char group = 0;
    if (p < end && isGroupCharacter(*p))
        group = static_cast<char>(*p++);
    while (p < end) {
        double sign = 1;
        if (*p == '+' || *p == '-')
            sign = *p++ == '-' ? -1 : 1;
        double value = 0;
        while (p < end && *p >= '0' && *p <= '9')
            value = value * 10 + (*p++ - '0');
        if (p < end && *p == '.') {
            double scale = 0.1;
            for (++p; p < end && *p >= '0' && *p <= '9'; ++p, scale /= 10)
                value += (*p - '0') * scale;
        }
        if (p == end || !(isUpperParameter(*p) || isGroupCharacter(*p)))
            break; // a byte that fits no rule ends the sequence and is read again as data
        const unsigned char letter = *p++;
        const bool last = isUpperParameter(letter);
        PclParameter parameter { prefix, group, static_cast<char>(last ? letter : letter - 32),
            sign * value };
        if (parameterCount < maxParameters)
            parameters[parameterCount++] = parameter;
        if (carriesPayload(prefix, group, parameter.letter)) {
            const double available = static_cast<double>(end - p);
            p += static_cast<std::ptrdiff_t>(std::clamp(parameter.value, 0.0, available));
            if (prefix == '*' && group == 'b')
                carriedRasterData = true;
        }
        if (last)
            break;
    }
    next = p;
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
