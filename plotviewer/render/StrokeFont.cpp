#include "StrokeFont.h"

#include <QFile>
#include <QPoint>

#include <algorithm>
#include <cmath>

namespace plotviewer {

namespace {

constexpr char32_t firstCharacter = U' ';
// Larger counts appear in no Hershey font; a bigger number means a damaged file.
constexpr int maxVertices = 500;

// Hershey coordinates are letters offset from 'R'; " R" lifts the pen.
constexpr int coordinateOrigin = 'R';

struct RawGlyph
{
    int left = 0;
    int right = 0;
    std::vector<std::vector<QPoint>> strokes;
};

/// Reads the text of one glyph record at a time, stepping over line breaks inside a record.
class JhfReader
{
public:
    explicit JhfReader(QByteArrayView data)
        : m_data(data)
    { }

    bool atEnd()
    {
        while (m_pos < m_data.size() && (m_data[m_pos] == '\n' || m_data[m_pos] == '\r'))
            ++m_pos;
        return m_pos >= m_data.size();
    }

    bool take(qsizetype count, QByteArray *out)
    {
        out->clear();
        while (out->size() < count && m_pos < m_data.size()) {
            const char c = m_data[m_pos++];
            if (c != '\n' && c != '\r')
                out->append(c);
        }
        return out->size() == count;
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

bool readGlyph(JhfReader &reader, int index, RawGlyph *glyph, QString *error)
{
    QByteArray field;
    bool ok = false;
    if (!reader.take(8, &field)) {
        *error = QStringLiteral("glyph %1 is cut short").arg(index);
        return false;
    }
    const int vertices = field.mid(5, 3).trimmed().toInt(&ok);
    if (!ok || vertices < 1 || vertices > maxVertices) {
        *error = QStringLiteral("glyph %1 has a bad vertex count \"%2\"")
                     .arg(index)
                     .arg(QLatin1String(field.mid(5, 3)));
        return false;
    }
    if (!reader.take(2 * vertices, &field)) {
        *error = QStringLiteral("glyph %1 is cut short").arg(index);
        return false;
    }
    glyph->left = field[0] - coordinateOrigin;
    glyph->right = field[1] - coordinateOrigin;
    glyph->strokes.emplace_back();
    for (int i = 1; i < vertices; ++i) {
        const char x = field[2 * i];
        const char y = field[2 * i + 1];
        if (x == ' ' && y == 'R') {
            glyph->strokes.emplace_back();
            continue;
        }
        if (x < ' ' || x > '~' || y < ' ' || y > '~') {
            *error = QStringLiteral("glyph %1 holds a byte outside the font alphabet").arg(index);
            return false;
        }
        glyph->strokes.back().push_back(QPoint(x - coordinateOrigin, y - coordinateOrigin));
    }
    std::erase_if(glyph->strokes, [](const std::vector<QPoint> &stroke) { return stroke.empty(); });
    return true;
}

struct Extent
{
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

std::optional<Extent> inkExtent(const RawGlyph &glyph)
{
    std::optional<Extent> extent;
    for (const auto &stroke : glyph.strokes) {
        for (const QPoint p : stroke) {
            if (!extent) {
                extent = Extent { p.x(), p.x(), p.y(), p.y() };
                continue;
            }
            extent->left = std::min(extent->left, p.x());
            extent->right = std::max(extent->right, p.x());
            extent->top = std::min(extent->top, p.y());
            extent->bottom = std::max(extent->bottom, p.y());
        }
    }
    return extent;
}

} // namespace

std::optional<StrokeFont> StrokeFont::parse(QByteArrayView data, QString *error)
{
    std::vector<RawGlyph> raw;
    JhfReader reader(data);
    while (!reader.atEnd()) {
        RawGlyph glyph;
        if (!readGlyph(reader, int(raw.size()), &glyph, error))
            return std::nullopt;
        raw.push_back(std::move(glyph));
    }
    // The capital H gives the baseline and cap height; the capital M the width of a glyph body.
    const auto metric = [&raw](char32_t c) -> std::optional<Extent> {
        const std::size_t index = c - firstCharacter;
        return index < raw.size() ? inkExtent(raw[index]) : std::nullopt;
    };
    const std::optional<Extent> h = metric(U'H');
    const std::optional<Extent> m = metric(U'M');
    if (!h || !m || h->bottom <= h->top || m->right <= m->left) {
        *error = QStringLiteral("the font has no usable capital H and M to take its size from");
        return std::nullopt;
    }
    const double capHeight = h->bottom - h->top;
    const double bodyWidth = m->right - m->left;

    StrokeFont font;
    font.m_glyphs.reserve(raw.size());
    for (const RawGlyph &source : raw) {
        // Centre each glyph's advance on the body so proportional glyphs sit in fixed-pitch cells.
        const double centre = (source.left + source.right) / 2.0;
        Glyph glyph;
        for (const auto &stroke : source.strokes) {
            glyph.strokeStarts.push_back(std::uint32_t(glyph.points.size()));
            for (const QPoint p : stroke)
                glyph.points.push_back(
                    { 0.5 + (p.x() - centre) / bodyWidth, (h->bottom - p.y()) / capHeight });
        }
        font.m_glyphs.push_back(std::move(glyph));
    }
    return font;
}

std::optional<StrokeFont> StrokeFont::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    return parse(file.readAll(), error);
}

const StrokeFont *StrokeFont::systemDefault()
{
    static const std::optional<StrokeFont> font = [] {
        QString ignored;
        return load(QStringLiteral("/usr/share/hershey-fonts/futural.jhf"), &ignored);
    }();
    return font ? &*font : nullptr;
}

const StrokeFont::Glyph *StrokeFont::glyph(char32_t c) const
{
    const std::size_t index = c - firstCharacter;
    return c >= firstCharacter && index < m_glyphs.size() ? &m_glyphs[index] : nullptr;
}

} // namespace plotviewer
