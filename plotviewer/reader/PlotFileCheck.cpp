#include "PlotFileCheck.h"

#include "PlotContentSurvey.h"

#include <QMimeDatabase>

#include <algorithm>
#include <string_view>

namespace plotviewer {

namespace {

// The MIME database's signatures look no further into a file than this.
constexpr qsizetype signatureBytes = 16 * 1024;

// The plot types (our MIME package gives them signatures where it is installed), and what the
// database answers when no signature matches: none of these tells against a plot.
bool tellsNothingAgainstPlot(const QMimeType &type)
{
    for (const char *plotType : { "application/vnd.hp-hpgl", "application/vnd.hp-pcl" }) {
        if (type.inherits(QLatin1String(plotType)))
            return true;
    }
    for (const char *unknown : { "application/octet-stream", "text/plain", "application/x-zerosize" }) {
        if (type.name() == QLatin1String(unknown))
            return true;
    }
    return false;
}

// Text in UTF-16, which the database takes for plain text (with a byte order mark) or for anything.
bool isUtf16Text(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return true;
    // Without the mark, Latin text has a NUL in every other byte, and no NUL in the others.
    constexpr qsizetype looked = 256;
    constexpr qsizetype fewest = 32;
    const QByteArrayView start = bytes.first(std::min(bytes.size(), looked));
    if (start.size() < fewest)
        return false;
    qsizetype nulFirst = 0;
    qsizetype nulSecond = 0;
    for (qsizetype i = 0; i + 1 < start.size(); i += 2) {
        nulFirst += start[i] == '\0';
        nulSecond += start[i + 1] == '\0';
    }
    const qsizetype pairs = start.size() / 2;
    const auto most = [pairs](qsizetype count) { return count * 10 >= pairs * 9; };
    const auto few = [pairs](qsizetype count) { return count * 10 <= pairs; };
    return (most(nulFirst) && few(nulSecond)) || (most(nulSecond) && few(nulFirst));
}

// DXF drawings, which the database knows only by a header section near the start: short ones begin
// with their entities. ASCII DXF is lines of group codes and values, the first "0" then "SECTION",
// perhaps after a comment (group 999).
bool isDxf(QByteArrayView bytes)
{
    if (bytes.startsWith("AutoCAD Binary DXF"))
        return true;
    constexpr qsizetype looked = 512;
    const QList<QByteArray> lines = bytes.first(std::min(bytes.size(), looked)).toByteArray().split('\n');
    const qsizetype first = !lines.isEmpty() && lines.front().trimmed() == "999" ? 2 : 0;
    return lines.size() > first + 1 && lines[first].trimmed() == "0"
        && lines[first + 1].trimmed() == "SECTION";
}

// "a" or "an" before an English name, by the sound of its first letter (spelt out in an acronym).
QString withArticle(const QString &name)
{
    const qsizetype wordEnd = std::find_if(name.begin(), name.end(), [](QChar c) {
        return !c.isLetterOrNumber();
    }) - name.begin();
    const QStringView word = QStringView(name).first(wordEnd);
    if (word.isEmpty())
        return name;
    const bool acronym = std::all_of(word.begin(), word.end(), [](QChar c) { return !c.isLower(); });
    const QChar first = word.front().toUpper();
    const QStringView vowelSounds = acronym ? u"AEFHILMNORSX" : u"AEIOU";
    return (vowelSounds.contains(first) ? QStringLiteral("an ") : QStringLiteral("a ")) + name;
}

PlotFileCheck::Verdict refused(const QString &kind)
{
    return { false, withArticle(kind), 0 };
}

} // namespace

PlotFileCheck::Verdict PlotFileCheck::examine(QByteArrayView bytes)
{
    const std::string_view view(bytes.data(), std::size_t(bytes.size()));
    if (hpgl::PlotContentSurvey::startsLikePlot(view))
        return {};
    const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForData(
        QByteArray::fromRawData(bytes.data(), std::min(bytes.size(), signatureBytes)));
    if (!tellsNothingAgainstPlot(type))
        return refused(type.comment());
    if (isUtf16Text(bytes))
        return refused(QStringLiteral("UTF-16 text document"));
    if (isDxf(bytes))
        return refused(database.mimeTypeForName(QStringLiteral("image/vnd.dxf")).comment());
    const hpgl::PlotContentSurvey survey(view);
    return { survey.looksLikePlot(), {}, survey.plotShare() };
}

} // namespace plotviewer
