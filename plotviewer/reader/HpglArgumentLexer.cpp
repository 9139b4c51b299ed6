#include "HpglArgumentLexer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace plotviewer::hpgl {

namespace {

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Whether the escape at `p` ends a label or string: a reset (ESC E) or a language switch (ESC%#A,
// ESC%#B, the UEL ESC%-12345X), which a missing terminator runs into. Any other escape is data, as
// in a chart of all character codes; a cut one at the end of the input ends the text too.
bool endsText(const unsigned char *p, const unsigned char *end)
{
    if (end - p < 2)
        return true;
    if (p[1] == 'E')
        return true;
    if (p[1] != '%')
        return false;
    const unsigned char *q = p + 2;
    if (q < end && (*q == '-' || *q == '+'))
        ++q;
    while (q < end && isDigit(*q))
        ++q;
    return q == end || *q == 'A' || *q == 'B' || *q == 'X';
}

bool isLetter(unsigned char c)
{
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}

constexpr std::array<double, 23> exactPowersOfTen = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
    1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22 };

double scaleByPowerOfTen(double mantissa, int exponent)
{
    if (exponent >= 0 && exponent < static_cast<int>(exactPowersOfTen.size()))
        return mantissa * exactPowersOfTen[static_cast<std::size_t>(exponent)];
    if (exponent < 0 && -exponent < static_cast<int>(exactPowersOfTen.size()))
        return mantissa / exactPowersOfTen[static_cast<std::size_t>(-exponent)];
    return mantissa * std::pow(10.0, exponent);
}

std::string_view view(const unsigned char *begin, const unsigned char *end)
{
    return { reinterpret_cast<const char *>(begin), static_cast<std::size_t>(end - begin) };
}

struct ParsedNumber
{
    const unsigned char *next;
    double value;
    bool valid; // false for a sign or dot without digits, which is consumed all the same
};

// The number at `p`, which holds a digit, '.', '+' or '-', in any of the accepted forms.
ParsedNumber parseAnyNumber(const unsigned char *p, const unsigned char *end)
{
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    int exponent = 0;
    bool anyDigit = false;
    for (; p < end && isDigit(*p); ++p) {
        anyDigit = true;
        if (significantDigits < 18) {
            mantissa = mantissa * 10 + (*p - '0');
            significantDigits += mantissa != 0;
        } else {
            ++exponent;
        }
    }
    if (p < end && *p == '.') {
        for (++p; p < end && isDigit(*p); ++p) {
            anyDigit = true;
            if (significantDigits < 18) {
                mantissa = mantissa * 10 + (*p - '0');
                significantDigits += mantissa != 0;
                --exponent;
            }
        }
    }
    if (!anyDigit)
        return { p, 0, false };
    // Tolerated exponent form (no mnemonic starts with E and a digit or sign).
    if (p + 1 < end && (*p | 0x20) == 'e') {
        const unsigned char *q = p + 1;
        bool negativeExponent = false;
        if ((*q == '+' || *q == '-') && q + 1 < end)
            negativeExponent = *q++ == '-';
        if (isDigit(*q)) {
            int written = 0;
            for (; q < end && isDigit(*q); ++q)
                written = std::min(written * 10 + (*q - '0'), 100000);
            exponent += negativeExponent ? -written : written;
            p = q;
        }
    }
    const double magnitude = mantissa == 0 ? 0.0 : scaleByPowerOfTen(static_cast<double>(mantissa), exponent);
    return { p, negative ? -magnitude : magnitude, true };
}

// The number at `p`, as parseAnyNumber() gives it. Plain integers, nearly all numbers in plot files,
// take a path short enough to be inlined into the list loop: up to 15 digits are exact as a double
// with no scaling.
inline ParsedNumber parseNumber(const unsigned char *p, const unsigned char *end)
{
    const bool negative = *p == '-';
    const unsigned char *first = p + (negative || *p == '+');
    const unsigned char *last = first + std::min<std::ptrdiff_t>(end - first, 15);
    std::uint64_t mantissa = 0;
    const unsigned char *q = first;
    for (; q < last && isDigit(*q); ++q)
        mantissa = mantissa * 10 + (*q - '0');
    const bool plainInteger = q > first && (q == end || !(isDigit(*q) || *q == '.' || (*q | 0x20) == 'e'));
    if (!plainInteger) [[unlikely]]
        return parseAnyNumber(p, end);
    const double magnitude = static_cast<double>(mantissa);
    return { q, negative ? -magnitude : magnitude, true };
}

} // namespace

HpglArgumentLexer::HpglArgumentLexer(const unsigned char *begin, const unsigned char *end)
    : m_p(begin)
    , m_end(end)
{ }

void HpglArgumentLexer::resetLabelTerminator()
{
    m_labelTerminator = defaultLabelTerminator;
    m_printTerminator = false;
}

bool HpglArgumentLexer::readNumbers(std::vector<double> &out, std::size_t maxCount, bool skipQuoted)
{
    const unsigned char *p = m_p;
    bool finished = true;
    while (p < m_end) {
        const unsigned char c = *p;
        if (isDigit(c) || c == '.' || c == '+' || c == '-') {
            const ParsedNumber number = parseNumber(p, m_end);
            p = number.next;
            if (number.valid) {
                out.push_back(number.value);
                if (out.size() >= maxCount) {
                    finished = false;
                    break;
                }
            }
        } else if (c == ',' || (c <= ' ' && c != escape) || c == 127) {
            ++p;
        } else if (c == ';') {
            ++p;
            break;
        } else if (isLetter(c) || c == escape) {
            break;
        } else if (c == '"' && skipQuoted) {
            m_p = p;
            skipQuotedString();
            p = m_p;
        } else {
            ++p; // any other byte ends the list
            break;
        }
    }
    m_p = p;
    return finished;
}

bool HpglArgumentLexer::readNumber(double &value)
{
    const ParsedNumber number = parseNumber(m_p, m_end);
    m_p = number.next;
    if (number.valid)
        value = number.value;
    return number.valid;
}

void HpglArgumentLexer::skipQuotedString()
{
    bool unterminated = false;
    ++m_p;
    readUntil('"', false, unterminated);
}

std::string_view HpglArgumentLexer::readUntil(
    unsigned char terminator, bool includeTerminator, bool &unterminated)
{
    const unsigned char *start = m_p;
    const unsigned char *limit
        = start + std::min<std::size_t>(static_cast<std::size_t>(m_end - start), maxTextLength);
    for (const unsigned char *q = start; q < limit; ++q) {
        if (*q == terminator) {
            m_p = q + 1;
            return view(start, includeTerminator ? q + 1 : q);
        }
        if (*q == escape && endsText(q, m_end)) {
            m_p = q;
            unterminated = true;
            return view(start, q);
        }
    }
    // No terminator: keep the first line only and go on after it, so the rest of the file is read.
    unterminated = true;
    const unsigned char *lineEnd
        = std::find_if(start, limit, [](unsigned char c) { return c == '\r' || c == '\n'; });
    m_p = lineEnd < limit ? lineEnd + 1 : limit;
    return view(start, lineEnd);
}

std::string_view HpglArgumentLexer::readLabel(bool &unterminated)
{
    const bool printable = m_labelTerminator >= ' ' && m_labelTerminator != 127;
    return readUntil(m_labelTerminator, m_printTerminator && printable, unterminated);
}

std::string_view HpglArgumentLexer::readString(bool &unterminated)
{
    while (m_p < m_end && (*m_p == ' ' || *m_p == '\t'))
        ++m_p;
    if (m_p < m_end && *m_p == '"') {
        ++m_p;
        return readUntil('"', false, unterminated);
    }
    const unsigned char *start = m_p;
    while (m_p < m_end && *m_p != ';' && *m_p != escape && *m_p != '\r' && *m_p != '\n')
        ++m_p;
    const std::string_view text = view(start, m_p);
    if (m_p < m_end && *m_p == ';')
        ++m_p;
    return text;
}

std::string_view HpglArgumentLexer::readTerminatorDefinition()
{
    if (m_p == m_end || *m_p == ';') {
        m_p += m_p != m_end;
        resetLabelTerminator();
        return {};
    }
    const unsigned char candidate = *m_p;
    if (candidate == 0 || candidate == '\n' || candidate == escape)
        return {}; // not a valid terminator: the instruction is ignored
    const unsigned char *start = m_p++;
    m_labelTerminator = candidate;
    m_printTerminator = false;
    if (m_p < m_end && *m_p == ',') {
        ++m_p;
        double mode = 1;
        if (m_p < m_end && (isDigit(*m_p) || *m_p == '.' || *m_p == '+' || *m_p == '-') && readNumber(mode))
            m_printTerminator = mode == 0;
    }
    if (m_p < m_end && *m_p == ';')
        ++m_p;
    return view(start, start + 1);
}

std::string_view HpglArgumentLexer::readSymbol()
{
    if (m_p == m_end)
        return {};
    if (*m_p == ';') {
        ++m_p;
        return {};
    }
    if (*m_p <= ' ' || *m_p == 127)
        return {};
    const unsigned char *start = m_p++;
    if (m_p < m_end && *m_p == ';')
        ++m_p;
    return view(start, start + 1);
}

} // namespace plotviewer::hpgl
