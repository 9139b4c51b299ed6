#include "MessageBoxWatcher.h"
#include "PreviewWindows.h"
#include "tarnwick/base/HandlerGuard.h"
#include "tarnwick/base/RuntimeError.h"
#include "tarnwick/plot/Form2.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The caption strip below the picture: 400 twips, 27 pixels at 96 DPI.
const QSize strip(0, 27);

QImage pictureOf(QSize size, const QColor &colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

QByteArray jpegOf(QSize size, const QColor &colour)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pictureOf(size, colour).save(&buffer, "JPG");
    return bytes;
}

/// A plot of three pages, each a size and colour of its own.
struct ThreePages
{
    const QList<QSize> sizes { { 210, 100 }, { 120, 300 }, { 160, 160 } };
    const QList<QColor> colours { Qt::red, Qt::darkGreen, Qt::blue };

    /// The pages with SaveTo's page `saved` (from 0) left for the picture file.
    PreviewPages pages(qsizetype saved) const
    {
        QList<QByteArray> pictures;
        for (qsizetype page = 0; page < 3; ++page)
            pictures << (page == saved ? QByteArray() : jpegOf(sizes.at(page), colours.at(page)));
        return PreviewPages(3, 0, pictures, saved);
    }
};

QLabel *pictureBox(QWidget *window)
{
    return window->findChild<QLabel *>(QStringLiteral("Picture1"));
}

/// Whether the picture shown is mostly `colour` (JPEG blurs it a little).
bool shows(QWidget *window, const QColor &colour)
{
    const QImage shown = pictureBox(window)->pixmap().toImage();
    const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    return std::abs(centre.red() - colour.red()) < 24 && std::abs(centre.green() - colour.green()) < 24
        && std::abs(centre.blue() - colour.blue()) < 24;
}

QString accessibleName(QWidget *window)
{
    return QAccessible::queryAccessibleInterface(window)->text(QAccessible::Name);
}

} // namespace

class tst_Form2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QApplication::closeAllWindows();
        QTRY_VERIFY(previewWindows().isEmpty());
        QVERIFY(!m_guard.hasEnded());
    }

    void windowFitsThePicture_data()
    {
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("landscape") << QSize(210, 100);
        QTest::newRow("portrait") << QSize(120, 300);
    }
    void windowFitsThePicture()
    {
        QFETCH(QSize, pictureSize);
        const QString file = writePicture(pictureOf(pictureSize, Qt::darkCyan));

        Form2::showPreview(m_guard, file, QStringLiteral("a.plt"), {});
        QCOMPARE(previewWindows().size(), 1);
        QWidget *window = previewWindows().first();
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : a.plt"));
        QLabel *box = pictureBox(window);
        QVERIFY(box->isVisible());
        QCOMPARE(box->pos(), QPoint(0, 0));
        QCOMPARE(box->size(), pictureSize);
        // Outer size: the picture's width, its height plus 400 twips.
        // A window manager frames the window some time after it is mapped; offscreen, nothing does.
        if (QGuiApplication::platformName() != u"offscreen")
            QTRY_VERIFY(window->frameGeometry() != window->geometry());
        QTRY_COMPARE(window->frameGeometry().size(), pictureSize + strip);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window->isModal());
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        // One page turns nowhere.
        QTest::keyClick(window, Qt::Key_PageDown);
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : a.plt"));
    }

    void unreadablePictureOpensNoWindow_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("pages");
        QTest::newRow("not a picture") << QByteArray("not a picture") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("not a picture, several pages") << QByteArray("not a picture") << true;
    }
    void unreadablePictureOpensNoWindow()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, pages);
        const QString file = m_dir.filePath(QStringLiteral("~plt000.jpg"));
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(content);
        garbage.close();
        try {
            Form2::showPreview(
                m_guard, file, QStringLiteral("a.plt"), pages ? ThreePages().pages(0) : PreviewPages());
            QFAIL("a broken picture was shown");
        } catch (const RuntimeError &error) {
            QVERIFY2(error.description().contains(QStringLiteral("cannot be loaded")), error.what());
        }
        QVERIFY(previewWindows().isEmpty());
    }

    void missingPictureOpensNoWindow()
    {
        QVERIFY_THROWS_EXCEPTION(RuntimeError,
            Form2::showPreview(
                m_guard, m_dir.filePath(QStringLiteral("gone.jpg")), QStringLiteral("a.plt"), {}));
        QVERIFY(previewWindows().isEmpty());
    }

    void keysTurnThePages_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("page"); // from 0; the window opens on 1, SaveTo's page

        QTest::newRow("nothing pressed") << QList<int> {} << 1;
        QTest::newRow("Page Down to the last") << QList<int> { Qt::Key_PageDown } << 2;
        QTest::newRow("Page Down past the last") << QList<int> { Qt::Key_PageDown, Qt::Key_PageDown } << 2;
        QTest::newRow("Page Up to the first") << QList<int> { Qt::Key_PageUp } << 0;
        QTest::newRow("Page Up past the first") << QList<int> { Qt::Key_PageUp, Qt::Key_PageUp } << 0;
        QTest::newRow("Page Up and back") << QList<int> { Qt::Key_PageUp, Qt::Key_PageDown } << 1;
        QTest::newRow("End, then Home") << QList<int> { Qt::Key_End, Qt::Key_Home } << 0;
        QTest::newRow("Home, then End") << QList<int> { Qt::Key_Home, Qt::Key_End } << 2;
        QTest::newRow("keys that turn no page") << QList<int> { Qt::Key_Down, Qt::Key_Space } << 1;
    }
    void keysTurnThePages()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, page);
        const ThreePages plot;
        const QString file = writePicture(pictureOf(plot.sizes.at(1), plot.colours.at(1)));
        Form2::showPreview(m_guard, file, QStringLiteral("job.plt"), plot.pages(1));
        QWidget *window = previewWindows().value(0);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : job.plt (page 2 of 3)"));

        for (int key : keys)
            QTest::keyClick(window, Qt::Key(key));

        const QString caption = QStringLiteral("Preview of : job.plt (page %1 of 3)").arg(page + 1);
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(accessibleName(window), caption);
        QCOMPARE(pictureBox(window)->size(), plot.sizes.at(page));
        QVERIFY(shows(window, plot.colours.at(page)));
        QTRY_COMPARE(window->frameGeometry().size(), plot.sizes.at(page) + strip);
        QCOMPARE(m_boxes.count(), 0);
    }

    void brokenPageLeavesTheWindowAsItWas()
    {
        const ThreePages plot;
        PreviewPages pages = plot.pages(0);
        pages.setPicture(1, "not a picture");
        const QString file = writePicture(pictureOf(plot.sizes.at(0), plot.colours.at(0)));
        Form2::showPreview(m_guard, file, QStringLiteral("job.plt"), pages);
        QWidget *window = previewWindows().value(0);
        QVERIFY(window);
        const QSize outer = window->frameGeometry().size();

        QTest::keyClick(window, Qt::Key_PageDown);
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : job.plt (page 1 of 3)"));
        QCOMPARE(pictureBox(window)->size(), plot.sizes.at(0));
        QVERIFY(shows(window, plot.colours.at(0)));
        QCOMPARE(window->frameGeometry().size(), outer);
        QCOMPARE(m_boxes.count(), 0);
        QVERIFY(!m_guard.hasEnded());
        // The other pages still turn.
        QTest::keyClick(window, Qt::Key_End);
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview of : job.plt (page 3 of 3)"));
        QVERIFY(shows(window, plot.colours.at(2)));
    }

    void windowOutlivesALaterPreview()
    {
        const ThreePages plot;
        const QString file = writePicture(pictureOf(plot.sizes.at(0), plot.colours.at(0)));
        Form2::showPreview(m_guard, file, QStringLiteral("job.plt"), plot.pages(0));
        QWidget *first = previewWindows().value(0);
        QVERIFY(first);
        // A later preview puts its own picture in the file, and the next one's probe deletes it.
        writePicture(pictureOf({ 90, 90 }, Qt::yellow));
        Form2::showPreview(m_guard, file, QStringLiteral("other.plt"), {});
        QVERIFY(QFile::remove(file));
        QCOMPARE(previewWindows().size(), 2);

        QTest::keyClick(first, Qt::Key_End);
        QTest::keyClick(first, Qt::Key_Home);
        QCOMPARE(first->windowTitle(), QStringLiteral("Preview of : job.plt (page 1 of 3)"));
        QCOMPARE(pictureBox(first)->size(), plot.sizes.at(0));
        QVERIFY(shows(first, plot.colours.at(0)));
    }

private:
    QString writePicture(const QImage &picture)
    {
        const QString file = m_dir.filePath(QStringLiteral("~plt000.jpg"));
        if (!picture.save(file, "JPG"))
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }

    QTemporaryDir m_dir;
    MessageBoxWatcher m_boxes;
    HandlerGuard m_guard { [](int) {} };
};

QTEST_MAIN(tst_Form2)
#include "tst_form2.moc"
