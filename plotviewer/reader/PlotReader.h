#pragma once
// Turns the bytes of a plot file into a stream of PlotCommands: HP-GL and HP-GL/2 instructions,
// wrapped or not in PJL and PCL 5, and the PCL raster sequences with their data. Works on the caller's
// buffer; allocates only reused buffers for the arguments of one command, whose size is capped.

#include "ContentTally.h"
#include "EncodedPolylineDecoder.h"
#include "HpglArgumentLexer.h"
#include "PclEscapeSequence.h"
#include "PlotCommand.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace plotviewer::hpgl {

class PlotReader
{
public:
    /// Arguments beyond this many numbers (or PE steps) arrive in further chunks; a multiple of
    /// every repeat group size (2, 3, 4, 6, 8).
    static constexpr std::size_t chunkSize = 6144;
    /// Without a known instruction in this many HP-GL bytes, the data is not HP-GL.
    static constexpr std::size_t sniffLimit = 64 * 1024;

    /// Whether the reader weighs what it goes through into its tally, which takes a look at every byte
    /// it skips: a survey of a file's start does, reading to draw leaves it out.
    enum class Weighing : bool { Off, On };

    explicit PlotReader(std::string_view bytes, Weighing weighing = Weighing::Off);

    /// Fills `command` with the next command; false at the end of the data.
    bool next(PlotCommand &command);

    std::size_t position() const;
    bool sawKnownInstruction() const { return m_sawKnownInstruction; }
    bool sawRasterData() const { return m_sawRasterData; }
    /// With Weighing::On, how the bytes read so far divide up between plot content and the rest.
    const ContentTally &tally() const { return m_tally; }
    /// The PJL language that was entered but cannot be drawn (e.g. "POSTSCRIPT"), or empty.
    const std::string &unsupportedLanguage() const { return m_unsupportedLanguage; }

private:
    enum class State : unsigned char { Pjl, Pcl, Hpgl, Unsupported };

    void sniffStart();
    bool nextInHpgl(PlotCommand &command);
    void readInstruction(PlotCommand &command, Mnemonic name);
    bool continueInstruction(PlotCommand &command);
    void weighInstruction(const PlotCommand &command, std::size_t length);
    /// Skipped bytes that are not blank.
    void weighStray(const unsigned char *begin, const unsigned char *end);
    bool readEscape(PlotCommand &command);
    bool emitQueuedParameters(PlotCommand &command);
    /// Moves past what the escape sequence has read so far, weighing it as job control.
    void passSequence();
    bool parameterEvent(const PclParameter &parameter, PlotCommand &command);
    bool graphicsEvent(const PclParameter &parameter, PlotCommand &command);
    /// Skips PCL text up to the next escape; true with a page eject when a form feed comes first.
    bool skipPcl(PlotCommand &command);
    /// True once for each stretch with something on the page: ejects without one between are one.
    bool takeEject();
    void readPjlLine();
    void skipToNextJob();
    void startEvent(PlotCommand &command, CommandKind kind, double value = 0);

    const unsigned char *m_begin;
    const unsigned char *m_end;
    HpglArgumentLexer m_lexer;
    EncodedPolylineDecoder m_encodedDecoder;
    State m_state = State::Hpgl;

    enum class Pending : unsigned char { None, Numbers, Encoded };
    Pending m_pending = Pending::None;
    Mnemonic m_pendingName = 0;

    PclEscapeSequence m_sequence; // the parameterised sequence being read

    bool m_sawKnownInstruction = false;
    bool m_notHpgl = false;
    bool m_sawRasterData = false;
    bool m_instructionSinceEject = false; // an eject without one between changes nothing
    bool m_textReported = false; // the text from here to the next escape or eject has been reported
    std::size_t m_hpglBytesWithoutInstruction = 0;
    ContentTally m_tally;
    Weighing m_weighing;
    std::size_t m_encodedBytes = 0; // of the PE instruction being weighed
    std::size_t m_encodedSteps = 0;
    std::string m_unsupportedLanguage;
};

} // namespace plotviewer::hpgl
