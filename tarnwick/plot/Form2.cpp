#include "tarnwick/plot/Form2.h"

#include "tarnwick/base/AppIcon.h"
#include "tarnwick/base/RuntimeError.h"
#include "tarnwick/base/Twips.h"
#include "tarnwick/base/WindowFlags.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QLabel>

#include <memory>

Form2::Form2()
    : QWidget(nullptr, fixedBorderWindow(Qt::Window))
    , Picture1(new QLabel(this))
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon::icon());
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(0, 0);
    Picture1->hide();
}

void Form2::showPreview(const QString &pictureFile, const QString &plotName)
{
    auto window = std::make_unique<Form2>();
    window->loadPicture(pictureFile);
    window->fitToPicture();
    window->setWindowTitle(QStringLiteral("Preview of : ") + plotName);
    window->show();
    window.release()->showPicture(); // the window deletes itself when closed
}

bool Form2::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // A window manager frames the window only after it is mapped, and the frame's arrival moves
    // the client area: fit again then, so the outer size stays the picture's.
    if (event->type() == QEvent::Show || event->type() == QEvent::Move)
        fitToPicture();
    return handled;
}

void Form2::loadPicture(const QString &fileName)
{
    QImageReader reader(fileName);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        throw RuntimeError(QStringLiteral("The picture \"%1\" cannot be loaded: %2")
                               .arg(QDir::toNativeSeparators(fileName), reader.errorString()));
    }
    Picture1->setPixmap(QPixmap::fromImage(picture));
    Picture1->resize(picture.size());
}

QSize Form2::frameSize() const
{
    const QSize own = frameGeometry().size() - geometry().size();
    if (!own.isNull() || isVisible())
        return own;
    // Before it is mapped a window has no frame yet; the main window's tells what it will get.
    if (const QWidget *framed = QApplication::activeWindow())
        return framed->frameGeometry().size() - framed->geometry().size();
    return own;
}

void Form2::fitToPicture()
{
    const QSize frame = frameSize();
    const QSize outer(Picture1->width(), Picture1->height() + Twips(*this).y(400));
    setFixedSize(outer - frame);
}

void Form2::showPicture()
{
    Picture1->show();
}
