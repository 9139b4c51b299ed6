#include "PictureComparison.h"

#include "PictureInk.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <vector>

namespace plotviewer::test {

namespace {

constexpr int channelTolerance = 40;
constexpr double mismatchAllowance = 0.002;
// Loose ink comparison: how far a pixel may move, and the share of inked pixels (plus a few
// strays) that may still find no partner.
constexpr int inkReach = 1;
constexpr double inkMismatchAllowance = 0.01;
constexpr qsizetype inkStrayPixels = 6;
constexpr int sizeSlack = 1;

bool closeEnough(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= channelTolerance
        && std::abs(qGreen(a) - qGreen(b)) <= channelTolerance
        && std::abs(qBlue(a) - qBlue(b)) <= channelTolerance;
}

QString keepForInspection(const QImage &actual, const QImage &expected, const QString &name)
{
    QDir folder(QDir::current().filePath(QStringLiteral("failed-renders")));
    folder.mkpath(QStringLiteral("."));
    const QString actualPath = folder.filePath(name + QStringLiteral("-actual.png"));
    actual.save(actualPath);
    if (!expected.isNull())
        expected.save(folder.filePath(name + QStringLiteral("-expected.png")));
    return actualPath;
}

bool updatingReferences()
{
    return qEnvironmentVariableIntValue("TARNWICK_UPDATE_REFERENCES") == 1;
}

// Inked pixels of `from` with no inked pixel of `to` within inkReach.
qsizetype unmatchedInk(
    const std::vector<bool> &from, QSize fromSize, const std::vector<bool> &to, QSize toSize)
{
    qsizetype unmatched = 0;
    for (int y = 0; y < fromSize.height(); ++y) {
        for (int x = 0; x < fromSize.width(); ++x) {
            if (!from[std::size_t(y) * std::size_t(fromSize.width()) + std::size_t(x)])
                continue;
            bool found = false;
            for (int dy = -inkReach; dy <= inkReach && !found; ++dy) {
                for (int dx = -inkReach; dx <= inkReach && !found; ++dx) {
                    const int tx = x + dx;
                    const int ty = y + dy;
                    found = tx >= 0 && ty >= 0 && tx < toSize.width() && ty < toSize.height()
                        && to[std::size_t(ty) * std::size_t(toSize.width()) + std::size_t(tx)];
                }
            }
            unmatched += found ? 0 : 1;
        }
    }
    return unmatched;
}

} // namespace

QString compareInk(const QImage &actual, const QImage &expected)
{
    if (std::abs(actual.width() - expected.width()) > sizeSlack
        || std::abs(actual.height() - expected.height()) > sizeSlack) {
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    }
    const std::vector<bool> got = inkMask(actual);
    const std::vector<bool> want = inkMask(expected);
    const qsizetype extra = unmatchedInk(got, actual.size(), want, expected.size());
    const qsizetype missing = unmatchedInk(want, expected.size(), got, actual.size());
    const qsizetype inked = std::max(inkedPixelCount(actual), inkedPixelCount(expected));
    const auto allowed = qsizetype(inkMismatchAllowance * double(inked)) + inkStrayPixels;
    if (extra > allowed || missing > allowed) {
        return QStringLiteral(
            "%1 inked pixels have no match in the expected picture and %2 expected ones are "
            "missing (of %3; %4 allowed)")
            .arg(extra)
            .arg(missing)
            .arg(inked)
            .arg(allowed);
    }
    return {};
}

QString compareInkWithReference(const QImage &actual, const QString &referencePath)
{
    if (updatingReferences()) {
        actual.save(referencePath);
        return {};
    }
    const QImage expected(referencePath);
    const QString name = QFileInfo(referencePath).completeBaseName();
    if (expected.isNull()) {
        return QStringLiteral("no reference picture %1; the render is in %2")
            .arg(referencePath, keepForInspection(actual, expected, name));
    }
    const QString difference = compareInk(actual, expected);
    if (difference.isEmpty())
        return {};
    return QStringLiteral("%1 against %2; both are in %3")
        .arg(difference, referencePath, keepForInspection(actual, expected, name));
}

QString compareWithReference(const QImage &actual, const QString &referencePath)
{
    if (updatingReferences()) {
        actual.save(referencePath);
        return {};
    }
    const QString name = QFileInfo(referencePath).completeBaseName();
    const QImage expected = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    const QImage got = actual.convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        return QStringLiteral("no reference picture %1; the render is in %2")
            .arg(referencePath, keepForInspection(got, expected, name));
    }
    if (expected.size() != got.size()) {
        return QStringLiteral("size %1x%2, expected %3x%4; the render is in %5")
            .arg(got.width())
            .arg(got.height())
            .arg(expected.width())
            .arg(expected.height())
            .arg(keepForInspection(got, expected, name));
    }
    qsizetype mismatches = 0;
    for (int y = 0; y < got.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(got.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        for (int x = 0; x < got.width(); ++x)
            mismatches += closeEnough(a[x], b[x]) ? 0 : 1;
    }
    if (mismatches > mismatchAllowance * double(got.width()) * got.height()) {
        return QStringLiteral("%1 pixels differ from %2; the render is in %3")
            .arg(mismatches)
            .arg(referencePath, keepForInspection(got, expected, name));
    }
    return {};
}

} // namespace plotviewer::test
