#include "PlotReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plotviewer::hpgl {

namespace {

constexpr unsigned char escape = HpglArgumentLexer::escape;
constexpr unsigned char formFeedByte = 0x0c;

bool isLetter(unsigned char c)
{
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}

char upper(unsigned char c)
{
    return static_cast<char>(c & ~0x20);
}

bool isBlank(unsigned char c)
{
    return c <= ' ' && c != escape;
}

std::size_t countNonBlank(const unsigned char *begin, const unsigned char *end)
{
    return static_cast<std::size_t>(std::count_if(begin, end, [](unsigned char c) { return !isBlank(c); }));
}

std::size_t distance(const unsigned char *begin, const unsigned char *end)
{
    return static_cast<std::size_t>(end - begin);
}

bool startsWithNoCase(const unsigned char *p, const unsigned char *end, std::string_view prefix)
{
    if (static_cast<std::size_t>(end - p) < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (upper(p[i]) != upper(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

// The language named by "@PJL ENTER LANGUAGE = x", upper case; empty when the line is another one.
std::string enteredLanguage(const unsigned char *line, const unsigned char *lineEnd)
{
    std::string text;
    for (const unsigned char *p = line; p < lineEnd && text.size() < 256; ++p)
        text.push_back(static_cast<char>(*p >= 'a' && *p <= 'z' ? *p - 32 : *p));
    const std::size_t enter = text.find("ENTER");
    if (enter == std::string::npos)
        return {};
    const std::size_t language = text.find("LANGUAGE", enter);
    const std::size_t equals = text.find('=', language == std::string::npos ? text.size() : language);
    if (equals == std::string::npos)
        return {};
    std::string name;
    for (std::size_t i = equals + 1; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/')
            name.push_back(c);
        else if (!name.empty())
            break;
    }
    return name;
}

// A PCL parameter the reader turns into an event, and what it means.
template<typename Meaning> struct SequenceEvent
{
    char prefix;
    char group;
    char letter;
    Meaning meaning;
};

template<typename Meaning, std::size_t count>
const SequenceEvent<Meaning> *findEvent(
    const SequenceEvent<Meaning> (&events)[count], const PclParameter &parameter)
{
    for (const SequenceEvent<Meaning> &event : events) {
        if (parameter.prefix == event.prefix && parameter.group == event.group
            && parameter.letter == event.letter)
            return &event;
    }
    return nullptr;
}

// Empties `command` for the next instruction or event, keeping its buffers' capacity.
void clearCommand(PlotCommand &command, CommandKind kind, Mnemonic name)
{
    command.kind = kind;
    command.name = name;
    command.known = false;
    command.continued = false;
    command.more = false;
    command.unterminated = false;
    command.numbers.clear();
    command.encoded.clear();
    command.text = {};
    command.relative = false;
}

} // namespace

PlotReader::PlotReader(std::string_view bytes, Weighing weighing)
    : m_begin(reinterpret_cast<const unsigned char *>(bytes.data()))
    , m_end(m_begin + bytes.size())
    , m_lexer(m_begin, m_end)
    , m_weighing(weighing)
{
    sniffStart();
}

void PlotReader::sniffStart()
{
    const unsigned char *p = m_begin;
    while (p < m_end && isBlank(*p))
        ++p;
    if (startsWithNoCase(p, m_end, "@PJL"))
        m_state = State::Pjl;
    else if (p + 1 < m_end && *p == escape && p[1] != '.')
        m_state = State::Pcl;
    else
        m_state = State::Hpgl;
}

std::size_t PlotReader::position() const
{
    return static_cast<std::size_t>(m_lexer.position() - m_begin);
}

bool PlotReader::next(PlotCommand &command)
{
    if (m_sequence.reading() && emitQueuedParameters(command))
        return true;
    if (m_pending != Pending::None)
        return continueInstruction(command);
    while (m_lexer.position() < m_end && !m_notHpgl) {
        switch (m_state) {
        case State::Pjl:
            readPjlLine();
            break;
        case State::Pcl:
            if (skipPcl(command))
                return true;
            if (m_lexer.position() < m_end && readEscape(command))
                return true;
            break;
        case State::Hpgl:
            if (nextInHpgl(command))
                return true;
            break;
        case State::Unsupported:
            skipToNextJob();
            break;
        }
    }
    return false;
}

bool PlotReader::nextInHpgl(PlotCommand &command)
{
    const unsigned char *start = m_lexer.position();
    const unsigned char *p = start;
    while (p < m_end) {
        const unsigned char c = *p;
        if (isLetter(c)) {
            if (p + 1 < m_end && isLetter(p[1])) {
                m_lexer.setPosition(p + 2);
                readInstruction(command, mnemonic(upper(c), upper(p[1])));
                if (m_weighing == Weighing::On) [[unlikely]] {
                    weighStray(start, p);
                    weighInstruction(command, distance(p, m_lexer.position()));
                }
                if (!command.known && !m_sawKnownInstruction) {
                    m_hpglBytesWithoutInstruction += distance(p, m_lexer.position());
                    m_notHpgl = m_hpglBytesWithoutInstruction > sniffLimit;
                }
                return true;
            }
        } else if (c == escape) {
            if (m_weighing == Weighing::On) [[unlikely]]
                weighStray(start, p);
            m_lexer.setPosition(p);
            return readEscape(command);
        }
        if (!m_sawKnownInstruction && !isBlank(c) && ++m_hpglBytesWithoutInstruction > sniffLimit) {
            m_notHpgl = true;
            break;
        }
        ++p;
    }
    if (m_weighing == Weighing::On) [[unlikely]]
        weighStray(start, p);
    m_lexer.setPosition(p);
    return false;
}

void PlotReader::readInstruction(PlotCommand &command, Mnemonic name)
{
    clearCommand(command, CommandKind::Instruction, name);
    const std::optional<Instruction> instruction = instructionNamed(name);
    command.known = instruction.has_value();
    command.instruction = instruction.value_or(Instruction::AA);
    m_sawKnownInstruction = m_sawKnownInstruction || command.known;
    m_instructionSinceEject = true;
    bool finished = true;
    switch (name) {
    case "LB"_mn:
    case "BL"_mn:
    case "WD"_mn:
        command.text = m_lexer.readLabel(command.unterminated);
        return;
    case "CO"_mn:
    case "MG"_mn:
        command.text = m_lexer.readString(command.unterminated);
        return;
    case "DT"_mn:
        command.text = m_lexer.readTerminatorDefinition();
        return;
    case "SM"_mn:
        command.text = m_lexer.readSymbol();
        return;
    case "PE"_mn:
        m_encodedDecoder.reset();
        m_lexer.setPosition(
            m_encodedDecoder.decode(m_lexer.position(), m_end, command.encoded, chunkSize, finished));
        m_pending = finished ? Pending::None : Pending::Encoded;
        break;
    case "IN"_mn:
    case "DF"_mn:
    case "BP"_mn:
        m_lexer.resetLabelTerminator();
        [[fallthrough]];
    default:
        finished = m_lexer.readNumbers(command.numbers, chunkSize, !command.known || name == "BP"_mn);
        m_pending = finished ? Pending::None : Pending::Numbers;
        break;
    }
    command.more = !finished;
    m_pendingName = name;
}

bool PlotReader::continueInstruction(PlotCommand &command)
{
    command.kind = CommandKind::Instruction;
    command.name = m_pendingName;
    command.continued = true;
    command.numbers.clear();
    command.encoded.clear();
    const unsigned char *start = m_lexer.position();
    bool finished = true;
    if (m_pending == Pending::Encoded) {
        m_lexer.setPosition(
            m_encodedDecoder.decode(m_lexer.position(), m_end, command.encoded, chunkSize, finished));
    } else {
        finished = m_lexer.readNumbers(command.numbers, chunkSize, !command.known);
    }
    command.more = !finished;
    if (m_weighing == Weighing::On) [[unlikely]]
        weighInstruction(command, distance(start, m_lexer.position()));
    if (finished)
        m_pending = Pending::None;
    return true;
}

void PlotReader::weighInstruction(const PlotCommand &command, std::size_t length)
{
    // A label's or comment's text could be anything, so it counts for neither side.
    length -= command.text.size();
    if (!isKnownMnemonic(command.name)) {
        m_tally.unknownInstructions += length;
        return;
    }
    if (command.name != "PE"_mn) {
        m_tally.knownInstructions += length;
        return;
    }
    // Encoded data counts once the instruction ends, as far as its steps explain it. After a "PE" in
    // a text, the decoder reads words up to a semicolon or the end of the file: their blanks and
    // punctuation mean nothing in PE data, of which real files hold next to none (the corpus: 6 %
    // in one re-encoded file, otherwise below 1 %).
    m_encodedBytes += length;
    m_encodedSteps += command.encoded.size();
    if (command.more)
        return;
    const unsigned char *end = m_lexer.position();
    const bool terminated = end < m_end || (end > m_begin && end[-1] == ';');
    const bool encoded = terminated && m_encodedDecoder.meaninglessBytes() * 8 < m_encodedBytes;
    constexpr std::size_t mostBytesPerStep = 16; // two 32-bit numbers in base 32 and a flag
    constexpr std::size_t nameBytes = 2;
    const std::size_t explained
        = std::min(m_encodedBytes, nameBytes + (encoded ? m_encodedSteps * mostBytesPerStep : 0));
    m_tally.knownInstructions += explained;
    m_tally.stray += m_encodedBytes - explained;
    m_encodedBytes = 0;
    m_encodedSteps = 0;
}

void PlotReader::weighStray(const unsigned char *begin, const unsigned char *end)
{
    m_tally.stray += countNonBlank(begin, end);
}

bool PlotReader::readEscape(PlotCommand &command)
{
    const unsigned char *start = m_lexer.position();
    const unsigned char *afterEscape = start + 1;
    const PclEscapeSequence sequence = PclEscapeSequence::read(afterEscape, m_end);
    m_lexer.setPosition(std::max(sequence.next, afterEscape));
    if (m_weighing == Weighing::On) [[unlikely]] {
        if (sequence.form == PclEscapeSequence::Form::Malformed)
            ++m_tally.stray;
        else
            m_tally.jobControl += distance(start, m_lexer.position());
    }
    switch (sequence.form) {
    case PclEscapeSequence::Form::TwoCharacter:
        if (sequence.finalCharacter == 'E') {
            m_lexer.resetLabelTerminator();
            m_state = State::Pcl;
            startEvent(command, CommandKind::PclReset);
            return true;
        }
        return false;
    case PclEscapeSequence::Form::Parameterised:
        m_sequence = sequence;
        return emitQueuedParameters(command);
    case PclEscapeSequence::Form::DeviceControl:
    case PclEscapeSequence::Form::Malformed:
        return false;
    }
    return false;
}

bool PlotReader::emitQueuedParameters(PlotCommand &command)
{
    PclParameter parameter;
    while (m_sequence.nextParameter(parameter)) {
        passSequence();
        m_sawRasterData
            = m_sawRasterData || (parameter.data && parameter.prefix == '*' && parameter.group == 'b');
        if (parameterEvent(parameter, command))
            return true;
    }
    // A byte that fits no rule ended the sequence: it is read again as data.
    passSequence();
    return false;
}

void PlotReader::passSequence()
{
    if (m_weighing == Weighing::On) [[unlikely]]
        m_tally.jobControl += distance(m_lexer.position(), m_sequence.next);
    m_lexer.setPosition(m_sequence.next);
}

bool PlotReader::parameterEvent(const PclParameter &parameter, PlotCommand &command)
{
    if (parameter.prefix == '%' && parameter.group == 0) {
        switch (parameter.letter) {
        case 'X':
            m_lexer.resetLabelTerminator();
            m_state = State::Pjl;
            m_sequence.finish();
            startEvent(command, CommandKind::JobBoundary);
            return true;
        case 'B':
            m_state = State::Hpgl;
            startEvent(command, CommandKind::EnterHpgl, parameter.value);
            return true;
        case 'A':
            m_state = State::Pcl;
            startEvent(command, CommandKind::EnterPcl, parameter.value);
            return true;
        default:
            return false;
        }
    }
    if (parameter.prefix == '*' && parameter.group == 'r' && parameter.letter == 'A') {
        m_sawRasterData = true;
        m_state = State::Pcl; // raster graphics end HP-GL/2
    }
    if (m_state != State::Pcl)
        return false;
    // The page set-up sequences the interpreter acts on.
    static constexpr SequenceEvent<CommandKind> pageEvents[] = {
        { '&', 'l', 'A', CommandKind::PageSize },
        { '&', 'l', 'O', CommandKind::Orientation },
        { '*', 'c', 'X', CommandKind::PictureFrameWidth },
        { '*', 'c', 'Y', CommandKind::PictureFrameHeight },
        { '*', 'c', 'K', CommandKind::PlotSizeWidth },
        { '*', 'c', 'L', CommandKind::PlotSizeHeight },
        { '*', 'c', 'T', CommandKind::PictureFrameAnchor },
        { '&', 'l', 'H', CommandKind::PageEject }, // every paper source feeds a new sheet
        { '&', 'l', 'E', CommandKind::TopMargin },
        { '&', 'l', 'C', CommandKind::LineSpacing },
        { '&', 'l', 'D', CommandKind::LinesPerInch },
        { '&', 'l', 'U', CommandKind::LeftOffset },
        { '&', 'l', 'Z', CommandKind::TopOffset },
    };
    if (const auto *event = findEvent(pageEvents, parameter)) {
        if (event->meaning == CommandKind::PageEject && !takeEject())
            return false;
        startEvent(command, event->meaning, parameter.value);
        return true;
    }
    return graphicsEvent(parameter, command);
}

bool PlotReader::graphicsEvent(const PclParameter &parameter, PlotCommand &command)
{
    static constexpr SequenceEvent<PclGraphics> graphicsEvents[] = {
        { '*', 'r', 'A', PclGraphics::StartRaster },
        { '*', 'r', 'B', PclGraphics::EndRaster },
        { '*', 'r', 'C', PclGraphics::EndRasterAndReset },
        { '*', 't', 'R', PclGraphics::Resolution },
        { '*', 'r', 'S', PclGraphics::SourceWidth },
        { '*', 'r', 'T', PclGraphics::SourceHeight },
        { '*', 'b', 'M', PclGraphics::Compression },
        { '*', 'b', 'W', PclGraphics::TransferRow },
        { '*', 'b', 'V', PclGraphics::TransferPlane },
        { '*', 'b', 'Y', PclGraphics::YOffset },
        { '*', 'v', 'W', PclGraphics::ConfigureImageData },
        { '*', 'v', 'A', PclGraphics::PaletteRed },
        { '*', 'v', 'B', PclGraphics::PaletteGreen },
        { '*', 'v', 'C', PclGraphics::PaletteBlue },
        { '*', 'v', 'I', PclGraphics::PaletteAssign },
        { '*', 'r', 'U', PclGraphics::SimpleColour },
        { '*', 'v', 'N', PclGraphics::SourceTransparency },
        { '*', 'r', 'F', PclGraphics::Presentation },
        { '*', 'p', 'X', PclGraphics::CursorX },
        { '*', 'p', 'Y', PclGraphics::CursorY },
        { '&', 'a', 'H', PclGraphics::CursorXDecipoints },
        { '&', 'a', 'V', PclGraphics::CursorYDecipoints },
        { '&', 'u', 'D', PclGraphics::UnitOfMeasure },
        { '*', 'c', 'A', PclGraphics::RectangleWidth },
        { '*', 'c', 'B', PclGraphics::RectangleHeight },
        { '*', 'c', 'H', PclGraphics::RectangleWidthDecipoints },
        { '*', 'c', 'V', PclGraphics::RectangleHeightDecipoints },
        { '*', 'c', 'G', PclGraphics::AreaFill },
        { '*', 'c', 'P', PclGraphics::FillRectangle },
        { '*', 'c', 'W', PclGraphics::UserPattern },
        { '*', 'v', 'T', PclGraphics::CurrentPattern },
        { '*', 'g', 'W', PclGraphics::ConfigureRasterData },
    };
    if (const auto *event = findEvent(graphicsEvents, parameter)) {
        startEvent(command, CommandKind::PclGraphics, parameter.value);
        command.graphics = event->meaning;
        command.relative = parameter.signed_;
        command.text = { reinterpret_cast<const char *>(parameter.data), parameter.dataSize };
        command.unterminated = parameter.dataCut;
        // Raster rows put ink on the page as instructions do, so a later eject must print it.
        if (event->meaning == PclGraphics::TransferRow || event->meaning == PclGraphics::TransferPlane)
            m_instructionSinceEject = true;
        return true;
    }
    return false;
}

void PlotReader::startEvent(PlotCommand &command, CommandKind kind, double value)
{
    clearCommand(command, kind, 0);
    command.value = value;
}

bool PlotReader::takeEject()
{
    return std::exchange(m_instructionSinceEject, false);
}

bool PlotReader::skipPcl(PlotCommand &command)
{
    const unsigned char *p = m_lexer.position();
    const auto *found
        = static_cast<const unsigned char *>(std::memchr(p, escape, static_cast<std::size_t>(m_end - p)));
    const unsigned char *stop = found ? found : m_end;
    // PCL text is not drawn, but a form feed in it prints the page.
    const auto *formFeed = m_instructionSinceEject
        ? static_cast<const unsigned char *>(std::memchr(p, formFeedByte, static_cast<std::size_t>(stop - p)))
        : nullptr;
    const unsigned char *pageEnd = formFeed ? formFeed : stop;
    // The interpreter says so for the printable characters on each page.
    if (!m_textReported && std::any_of(p, pageEnd, [](unsigned char c) { return c > ' ' && c != 0x7f; })) {
        m_textReported = true;
        startEvent(command, CommandKind::PclText);
        return true;
    }
    m_textReported = false;
    if (m_weighing == Weighing::On) [[unlikely]]
        weighStray(p, pageEnd);
    if (formFeed && takeEject()) {
        m_lexer.setPosition(formFeed + 1);
        startEvent(command, CommandKind::PageEject);
        return true;
    }
    m_lexer.setPosition(stop);
    return false;
}

void PlotReader::readPjlLine()
{
    const unsigned char *p = m_lexer.position();
    while (p < m_end && isBlank(*p))
        ++p;
    m_lexer.setPosition(p);
    if (p == m_end)
        return;
    if (*p == escape) {
        m_state = State::Pcl;
        return;
    }
    if (!startsWithNoCase(p, m_end, "@PJL")) {
        m_state = State::Hpgl; // the default language starts without ENTER LANGUAGE
        return;
    }
    const unsigned char *lineEnd = std::find(p, m_end, '\n');
    const std::string language = enteredLanguage(p, lineEnd);
    m_lexer.setPosition(lineEnd < m_end ? lineEnd + 1 : m_end);
    if (m_weighing == Weighing::On) [[unlikely]]
        m_tally.jobControl += distance(p, m_lexer.position());
    if (language.empty())
        return;
    if (language == "HPGL2" || language == "HPGL" || language == "HP-GL/2")
        m_state = State::Hpgl;
    else if (language == "PCL" || language == "RTL")
        m_state = State::Pcl;
    else {
        m_unsupportedLanguage = language;
        m_state = State::Unsupported;
    }
}

void PlotReader::skipToNextJob()
{
    static constexpr std::string_view uel = "\x1b%-12345X";
    const std::string_view rest(reinterpret_cast<const char *>(m_lexer.position()),
        static_cast<std::size_t>(m_end - m_lexer.position()));
    const std::size_t found = rest.find(uel);
    m_lexer.setPosition(found == std::string_view::npos ? m_end : m_lexer.position() + found);
    m_state = State::Pcl;
}

} // namespace plotviewer::hpgl
