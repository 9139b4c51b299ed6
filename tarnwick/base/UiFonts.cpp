#include "tarnwick/base/UiFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

const QString WineFonts = QStringLiteral("/usr/share/wine/fonts/");

bool ensureFamily(const QString &family, const QStringList &files)
{
    if (QFontDatabase::hasFamily(family))
        return true;
    for (const QString &file : files)
        QFontDatabase::addApplicationFont(WineFonts + file);
    return QFontDatabase::hasFamily(family);
}

QFont font(const QString &family, bool available, qreal pointSize, bool bold)
{
    QFont font = available ? QFont(family) : QFont();
    if (!available)
        font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

namespace UiFonts {

QFont tahoma(qreal pointSize, bool bold)
{
    static const bool available = ensureFamily(
        QStringLiteral("Tahoma"), { QStringLiteral("tahoma.ttf"), QStringLiteral("tahomabd.ttf") });
    return font(QStringLiteral("Tahoma"), available, pointSize, bold);
}

QFont msSansSerif(qreal pointSize)
{
    static const bool available
        = ensureFamily(QStringLiteral("MS Sans Serif"), { QStringLiteral("ms_sans_serif.ttf") });
    return font(QStringLiteral("MS Sans Serif"), available, pointSize, false);
}

} // namespace UiFonts
