#include "CupsJobOptions.h"

#include "plotviewer/headless/PaperName.h"

#include <cups/cups.h>

namespace plotviewer {

namespace {

class ParsedOptions
{
public:
    explicit ParsedOptions(const QByteArray &options)
        : m_count(cupsParseOptions(options.constData(), 0, &m_options))
    { }
    ~ParsedOptions() { cupsFreeOptions(m_count, m_options); }
    ParsedOptions(const ParsedOptions &) = delete;
    ParsedOptions &operator=(const ParsedOptions &) = delete;

    QString value(const char *name) const
    {
        return QString::fromUtf8(cupsGetOption(name, m_count, m_options)).trimmed();
    }
    bool isSet(const char *name) const { return cupsGetOption(name, m_count, m_options) != nullptr; }

private:
    cups_option_t *m_options = nullptr;
    int m_count = 0;
};

bool isTrue(const QString &value)
{
    static const QStringList yes { QStringLiteral("true"), QStringLiteral("yes"), QStringLiteral("on"),
        QStringLiteral("1") };
    return yes.contains(value.toLower());
}

std::optional<QPageSize> paperOf(const ParsedOptions &options)
{
    // media may list a size with a source or type ("A4,Tray1"); the first size found counts.
    for (const char *name : { "media", "PageSize", "media-size-name" }) {
        for (const QString &part : options.value(name).split(u',', Qt::SkipEmptyParts)) {
            if (const std::optional<QPageSize> paper = paperFromName(part.trimmed()))
                return paper;
        }
    }
    return std::nullopt;
}

} // namespace

CupsJobOptions CupsJobOptions::parse(const QByteArray &options)
{
    const ParsedOptions parsed(options);
    CupsJobOptions job;
    if (const std::optional<QPageSize> paper = paperOf(parsed))
        job.paper = *paper;

    const QString colourMode = parsed.value("print-color-mode").toLower();
    const QString colourModel = parsed.value("ColorModel").toLower();
    if (colourMode == QLatin1String("bi-level"))
        job.render.colourMode = ColourMode::BlackAndWhite;
    else if (colourMode == QLatin1String("monochrome") || colourModel == QLatin1String("gray")
        || colourModel == QLatin1String("grayscale") || colourModel == QLatin1String("black"))
        job.render.colourMode = ColourMode::GreyScale;

    const bool actualSize = parsed.value("print-scaling").toLower() == QLatin1String("none")
        || (parsed.isSet("actual-size") && isTrue(parsed.value("actual-size")));
    job.render.placement = actualSize ? Placement::ActualSize : Placement::Fit;
    return job;
}

} // namespace plotviewer
