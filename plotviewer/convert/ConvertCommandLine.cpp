#include "ConvertCommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace plotviewer {

namespace {

constexpr int largestPicture = 16384;

std::optional<ColourMode> parseColourMode(const QString &value)
{
    static const QMap<QString, ColourMode> names { { QStringLiteral("colour"), ColourMode::Colour },
        { QStringLiteral("color"), ColourMode::Colour }, { QStringLiteral("grey"), ColourMode::GreyScale },
        { QStringLiteral("gray"), ColourMode::GreyScale },
        { QStringLiteral("bw"), ColourMode::BlackAndWhite } };
    if (const auto found = names.constFind(value.toLower()); found != names.constEnd())
        return *found;
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return isNumber ? colourModeFromNumber(number) : std::nullopt;
}

std::optional<QSize> parseSize(const QString &value)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.isEmpty() || size.width() > largestPicture || size.height() > largestPicture)
        return std::nullopt;
    return size;
}

std::optional<QPageSize> parsePaper(const QString &value)
{
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const QPageSize paper { QPageSize::PageSizeId(id) };
        if (paper.key().compare(value, Qt::CaseInsensitive) == 0
            || paper.name().compare(value, Qt::CaseInsensitive) == 0)
            return paper;
    }
    return std::nullopt;
}

std::optional<ConvertOptions::Format> formatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return ConvertOptions::Format::Jpeg;
    if (suffix == QLatin1String("png"))
        return ConvertOptions::Format::Png;
    if (suffix == QLatin1String("pdf"))
        return ConvertOptions::Format::Pdf;
    return std::nullopt;
}

} // namespace

ConvertCommandLine::Result ConvertCommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Converts an HP-GL or HP-GL/2 plot file to a JPEG, PNG or PDF file, chosen by the "
                       "output's extension.\n"
                       "Pictures show the first page with something on it; a PDF holds every page."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help."));
    const QCommandLineOption colour({ QStringLiteral("c"), QStringLiteral("colour") },
        QStringLiteral("Colour mode: colour (the default), grey or bw."), QStringLiteral("mode"));
    const QCommandLineOption actualSize({ QStringLiteral("a"), QStringLiteral("actual-size") },
        QStringLiteral("Draw at 1016 plot units to the inch (pictures at 96 "
                       "pixels to the inch) instead of fitting."));
    const QCommandLineOption size({ QStringLiteral("s"), QStringLiteral("size") },
        QStringLiteral("Largest picture size in pixels (default 1024x768); the picture "
                       "keeps the plot's shape."),
        QStringLiteral("WxH"));
    const QCommandLineOption paper({ QStringLiteral("p"), QStringLiteral("paper") },
        QStringLiteral("Paper for PDF output, such as A4 (the default), A3 or Letter."),
        QStringLiteral("name"));
    parser.addOptions({ help, colour, actualSize, size, paper });
    parser.addPositionalArgument(QStringLiteral("plot"), QStringLiteral("The plot file to read."));
    parser.addPositionalArgument(
        QStringLiteral("output"), QStringLiteral("The file to write: .jpg, .png or .pdf."));

    if (!parser.parse(arguments))
        return Invalid { parser.errorText() };
    if (parser.isSet(help))
        return Help { parser.helpText() };
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return Invalid {
            QStringLiteral("expected a plot file and an output file, got %1 file names").arg(files.size())
        };

    ConvertOptions options;
    options.input = files[0];
    options.output = files[1];
    const std::optional<ConvertOptions::Format> format = formatFor(options.output);
    if (!format)
        return Invalid { QStringLiteral(
            "cannot tell the output format from \"%1\"; end it in .jpg, .png or .pdf")
                             .arg(options.output) };
    options.format = *format;
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
            return Invalid { QStringLiteral("bad picture size \"%1\"; give WIDTHxHEIGHT, each 1 to %2")
                                 .arg(parser.value(size))
                                 .arg(largestPicture) };
        options.pictureSize = *bound;
    }
    if (parser.isSet(paper)) {
        const std::optional<QPageSize> known = parsePaper(parser.value(paper));
        if (!known)
            return Invalid { QStringLiteral("unknown paper \"%1\"").arg(parser.value(paper)) };
        options.paper = *known;
    }
    return options;
}

} // namespace plotviewer
