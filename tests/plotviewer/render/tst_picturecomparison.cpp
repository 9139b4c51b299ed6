// The loose picture comparison the reference-picture tests rely on: rendering noise passes, a
// changed drawing does not.

#include "PictureComparison.h"

#include <QPainter>
#include <QTest>

using namespace plotviewer::test;

namespace {

enum class Change {
    None,
    ShiftedAPixel,
    WithoutAntialiasing,
    TurnedQuarter,
    TurnedHalf,
    Cut,
    Merged,
    Missing
};

// An asymmetric drawing, 240 by 160: a frame, a diagonal, an L and a dot.
QImage drawing(Change change)
{
    QImage picture(240, 160, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, change != Change::WithoutAntialiasing);
    painter.setPen(QPen(Qt::black, 2));
    if (change == Change::ShiftedAPixel)
        painter.translate(1, 0);
    painter.drawRect(10, 10, 220, 140);
    painter.drawLine(20, 140, 120, 30);
    painter.drawPolyline(QPolygon({ QPoint(150, 40), QPoint(150, 120), QPoint(200, 120) }));
    painter.setBrush(Qt::blue);
    painter.drawEllipse(QPoint(190, 50), 6, 6);
    if (change == Change::Merged)
        painter.drawLine(40, 40, 200, 140);
    if (change == Change::Cut)
        painter.fillRect(0, 0, 120, 160, Qt::white);
    painter.end();
    switch (change) {
    case Change::TurnedQuarter:
        return picture.transformed(QTransform().rotate(90));
    case Change::TurnedHalf:
        return picture.mirrored(true, true);
    case Change::Missing:
        picture.fill(Qt::white);
        return picture;
    default:
        return picture;
    }
}

} // namespace

class tst_PictureComparison : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compareInk_data();
    void compareInk();
};

void tst_PictureComparison::compareInk_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("matches");

    QTest::newRow("the same picture") << int(Change::None) << true;
    QTest::newRow("shifted a pixel") << int(Change::ShiftedAPixel) << true;
    QTest::newRow("drawn without anti-aliasing") << int(Change::WithoutAntialiasing) << true;
    QTest::newRow("turned a quarter") << int(Change::TurnedQuarter) << false;
    QTest::newRow("turned half round") << int(Change::TurnedHalf) << false;
    QTest::newRow("left half cut away") << int(Change::Cut) << false;
    QTest::newRow("another drawing merged in") << int(Change::Merged) << false;
    QTest::newRow("nothing drawn") << int(Change::Missing) << false;
}

void tst_PictureComparison::compareInk()
{
    QFETCH(int, change);
    QFETCH(bool, matches);
    const QString difference = plotviewer::test::compareInk(drawing(Change(change)), drawing(Change::None));
    QVERIFY2(difference.isEmpty() == matches,
        qPrintable(difference.isEmpty() ? QStringLiteral("no difference found") : difference));
}

QTEST_MAIN(tst_PictureComparison)
#include "tst_picturecomparison.moc"
