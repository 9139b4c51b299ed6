#include "PictureComparison.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace plotviewer::test {

namespace {

constexpr int channelTolerance = 40;
constexpr double mismatchAllowance = 0.002;

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

} // namespace

QString compareWithReference(const QImage &actual, const QString &referencePath)
{
    if (qEnvironmentVariableIntValue("TARNWICK_UPDATE_REFERENCES") == 1) {
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
