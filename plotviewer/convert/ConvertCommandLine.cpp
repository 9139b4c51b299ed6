#include "ConvertCommandLine.h"

#include "plotviewer/document/ColourModeNumbers.h"
#include "plotviewer/headless/PaperName.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

namespace plotviewer {

namespace {

constexpr int largestPicture = 16384;
constexpr int mostJobs = 256;

std::optional<ColourMode> parseColourMode(const QString &value)
{
    static const QMap<QString, ColourMode> names { { QStringLiteral("colour"), ColourMode::Colour },
        { QStringLiteral("color"), ColourMode::Colour }, { QStringLiteral("grey"), ColourMode::GreyScale },
        { QStringLiteral("gray"), ColourMode::GreyScale },
        { QStringLiteral("bw"), ColourMode::BlackAndWhite } };
    if (const auto found = names.constFind(value.toLower()); found != names.constEnd())
        return *found;
    // The numbers the program passes its plot server, for scripts that use them.
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return isNumber ? colourModeNumbered(number) : std::nullopt;
}

// WIDTHxHEIGHT, or one number for the longest side as thumbnailers ask.
std::optional<QSize> parseSize(const QString &value)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})(?:[xX](\\d{1,6}))?$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt();
    const QSize size(width, match.hasCaptured(2) ? match.captured(2).toInt() : width);
    if (size.isEmpty() || size.width() > largestPicture || size.height() > largestPicture)
        return std::nullopt;
    return size;
}

std::optional<ConvertOptions::Format> formatNamed(const QString &name)
{
    const QString suffix = name.toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return ConvertOptions::Format::Jpeg;
    if (suffix == QLatin1String("png"))
        return ConvertOptions::Format::Png;
    if (suffix == QLatin1String("pdf"))
        return ConvertOptions::Format::Pdf;
    if (suffix == QLatin1String("svg"))
        return ConvertOptions::Format::Svg;
    return std::nullopt;
}

} // namespace

ConvertCommandLine::Result ConvertCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Converts HP-GL or HP-GL/2 plot files to JPEG, PNG, PDF or SVG files.\n"
        "With one plot, the output's extension or --format chooses the kind of file. With "
        "--output-dir, each plot becomes a file of its own name in that folder, several at once.\n"
        "Pictures show the first page with something on it; a PDF holds every page. An SVG holds one "
        "page: a plot of several pages gives the name asked for to its first page and numbered names "
        "beside it to the others (drawing.svg, drawing-2.svg, drawing-3.svg, ...)."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help."));
    const QCommandLineOption colour({ QStringLiteral("c"), QStringLiteral("colour") },
        QStringLiteral("Colour mode: colour (the default), grey or bw."), QStringLiteral("mode"));
    const QCommandLineOption actualSize({ QStringLiteral("a"), QStringLiteral("actual-size") },
        QStringLiteral("Draw at 1016 plot units to the inch (pictures at 96 "
                       "pixels to the inch) instead of fitting; a PDF spreads a drawing "
                       "larger than the paper over several sheets."));
    const QCommandLineOption size({ QStringLiteral("s"), QStringLiteral("size") },
        QStringLiteral("Largest picture size in pixels: WxH, or N for the longest side (default "
                       "1024x768); the picture keeps the plot's shape."),
        QStringLiteral("size"));
    const QCommandLineOption paper({ QStringLiteral("p"), QStringLiteral("paper") },
        QStringLiteral("Paper for PDF output, such as A4 (the default), A3, Letter or a PWG media name; "
                       "an SVG given a paper takes its size instead of the plot's own."),
        QStringLiteral("name"));
    const QCommandLineOption format({ QStringLiteral("f"), QStringLiteral("format") },
        QStringLiteral("Kind of output: png (the default for a folder), jpeg, pdf or svg."),
        QStringLiteral("kind"));
    const QCommandLineOption outputDir({ QStringLiteral("o"), QStringLiteral("output-dir") },
        QStringLiteral("Convert every plot given into this folder."), QStringLiteral("folder"));
    const QCommandLineOption jobs({ QStringLiteral("j"), QStringLiteral("jobs") },
        QStringLiteral("Conversions to run at once with --output-dir (default: one per processor)."),
        QStringLiteral("count"));
    const QCommandLineOption pens(QStringLiteral("pens"),
        QStringLiteral("Read a pen table from the [Pens] section of this settings file: lines N=width-in-mm "
                       "#rrggbb for the pens a plot leaves to the device."),
        QStringLiteral("file"));
    parser.addOptions({ help, colour, actualSize, size, paper, format, outputDir, jobs, pens });
    parser.addPositionalArgument(QStringLiteral("plot"), QStringLiteral("The plot file to read."));
    parser.addPositionalArgument(QStringLiteral("output"),
        QStringLiteral("The file to write (.jpg, .png, .pdf or .svg), or more plots with --output-dir."));

    if (!parser.parse(arguments))
        return Invalid { parser.errorText() };
    if (parser.isSet(help)) {
        // Without an application object, which plotconvert starts only to draw, Qt cannot name
        // the program in the usage line.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("plotconvert"));
        return Help { text };
    }

    ConvertOptions options;
    std::optional<ConvertOptions::Format> chosenFormat;
    if (parser.isSet(format)) {
        chosenFormat = formatNamed(parser.value(format));
        if (!chosenFormat)
            return Invalid {
                QStringLiteral("unknown format \"%1\"; use png, jpeg, pdf or svg").arg(parser.value(format))
            };
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(outputDir)) {
        if (files.isEmpty())
            return Invalid {
                QStringLiteral("expected plot files to convert into \"%1\"").arg(parser.value(outputDir))
            };
        options.inputs = files;
        options.outputFolder = parser.value(outputDir);
        options.format = chosenFormat.value_or(ConvertOptions::Format::Png);
        options.jobs = std::max(1, QThread::idealThreadCount());
        if (parser.isSet(jobs)) {
            bool isNumber = false;
            options.jobs = parser.value(jobs).toInt(&isNumber);
            if (!isNumber || options.jobs < 1 || options.jobs > mostJobs)
                return Invalid {
                    QStringLiteral("bad job count \"%1\"; give 1 to %2").arg(parser.value(jobs)).arg(mostJobs)
                };
        }
    } else {
        if (files.size() != 2)
            return Invalid {
                QStringLiteral("expected a plot file and an output file, got %1 file names").arg(files.size())
            };
        options.inputs = { files[0] };
        options.output = files[1];
        const std::optional<ConvertOptions::Format> fromName
            = formatNamed(QFileInfo(options.output).suffix());
        if (!chosenFormat && !fromName)
            return Invalid { QStringLiteral("cannot tell the output format from \"%1\"; end it in .jpg, "
                                            ".png, .pdf or .svg, or give --format")
                                 .arg(options.output) };
        options.format = chosenFormat ? *chosenFormat : *fromName;
    }
    if (parser.isSet(colour)) {
        const std::optional<ColourMode> mode = parseColourMode(parser.value(colour));
        if (!mode)
            return Invalid {
                QStringLiteral("unknown colour mode \"%1\"; use colour, grey or bw").arg(parser.value(colour))
            };
        options.colourMode = *mode;
    }
    if (parser.isSet(actualSize))
        options.placement = Placement::ActualSize;
    if (parser.isSet(size)) {
        const std::optional<QSize> bound = parseSize(parser.value(size));
        if (!bound)
            return Invalid { QStringLiteral("bad picture size \"%1\"; give WIDTHxHEIGHT or N, each 1 to %2")
                                 .arg(parser.value(size))
                                 .arg(largestPicture) };
        options.pictureSize = *bound;
    }
    options.penTableFile = parser.value(pens);
    if (parser.isSet(paper)) {
        const std::optional<QPageSize> known = paperFromName(parser.value(paper));
        if (!known)
            return Invalid { QStringLiteral("unknown paper \"%1\"").arg(parser.value(paper)) };
        options.paper = *known;
        options.paperChosen = true;
    }
    return options;
}

} // namespace plotviewer
