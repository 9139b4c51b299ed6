#pragma once

#include "plotviewer/model/DisplayList.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace plotviewer {

/// A stroke font read from the Hershey ".jhf" format. Glyphs come in file order from U+0020 on.
/// Glyph geometry is normalised for placing in a label cell: x in glyph body widths from the left
/// edge of the body (so a typical capital spans 0 to 1), y in cap heights above the baseline.
class StrokeFont
{
public:
    struct Glyph
    {
        std::vector<Point> points;
        std::vector<std::uint32_t> strokeStarts; // each stroke runs to the next start
        std::size_t strokeCount() const { return strokeStarts.size(); }
        std::size_t strokeEnd(std::size_t stroke) const
        {
            return stroke + 1 < strokeStarts.size() ? strokeStarts[stroke + 1] : points.size();
        }
    };

    /// Parses ".jhf" text; nullopt with `error` set when the data is malformed or lacks the
    /// letters the metrics are taken from.
    static std::optional<StrokeFont> parse(QByteArrayView data, QString *error);
    static std::optional<StrokeFont> load(const QString &path, QString *error);
    /// The font the renderer uses unless told otherwise, loaded once; nullptr when it is not
    /// installed (then labels fall back to an outline font).
    static const StrokeFont *systemDefault();

    /// The glyph for `c`, or nullptr when the font has none.
    const Glyph *glyph(char32_t c) const;

private:
    StrokeFont() = default;

    std::vector<Glyph> m_glyphs;
};

} // namespace plotviewer
