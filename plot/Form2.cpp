#include "plot/Form2.h"

#include "base/AppIcon.h"
#include "base/RuntimeError.h"
#include "base/Twips.h"
#include "base/WindowFlags.h"

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
    window->fitToPicture(); // again, now that the window manager's frame is known
    window.release()->showPicture(); // the window deletes itself when closed
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

void Form2::fitToPicture()
{
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize outer(Picture1->width(), Picture1->height() + Twips(*this).y(400));
    setFixedSize(outer - frame);
}

void Form2::showPicture()
{
    Picture1->show();
}
