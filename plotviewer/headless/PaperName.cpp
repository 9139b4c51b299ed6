#include "PaperName.h"

#include "plotviewer/model/PlotUnits.h"

#include <QRegularExpression>
#include <QSizeF>

#include <algorithm>

namespace plotviewer {

namespace {

// Beyond the widest roll any plotter takes; PWG names carry their sizes, so bound them.
constexpr double largestPaperMillimetres = 10000;

std::optional<QPageSize> fromPwgName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^[a-z0-9-]+_[a-z0-9.-]+_(\\d{1,5}(?:\\.\\d{1,4})?)x(\\d{1,5}(?:\\.\\d{1,4})?)(mm|in)$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const bool inches = match.captured(3) == QLatin1String("in");
    const QSizeF size(match.captured(1).toDouble(), match.captured(2).toDouble());
    const double millimetresPerUnit = inches ? millimetresPerInch : 1.0;
    if (size.isEmpty()
        || std::max(size.width(), size.height()) * millimetresPerUnit > largestPaperMillimetres)
        return std::nullopt;
    // QPageSize names a standard size it recognises and keeps any other as a custom one.
    return QPageSize(
        size, inches ? QPageSize::Inch : QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

} // namespace

std::optional<QPageSize> paperFromName(const QString &name)
{
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const QPageSize paper { QPageSize::PageSizeId(id) };
        if (paper.key().compare(name, Qt::CaseInsensitive) == 0
            || paper.name().compare(name, Qt::CaseInsensitive) == 0)
            return paper;
    }
    return fromPwgName(name);
}

} // namespace plotviewer
