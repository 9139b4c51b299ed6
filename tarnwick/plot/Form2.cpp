#include "tarnwick/plot/Form2.h"

#include "tarnwick/base/AppIcon.h"
#include "tarnwick/base/FileSystem.h"
#include "tarnwick/base/HandlerGuard.h"
#include "tarnwick/base/RuntimeError.h"
#include "tarnwick/base/Twips.h"
#include "tarnwick/base/WindowFlags.h"
#include "tarnwick/plot/PreviewPageMaker.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>

#include <memory>

namespace {

/// The picture that picture file bytes hold; throws RuntimeError naming `source` when they hold none.
QImage decodePicture(const QByteArray &bytes, const QString &source)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        throw RuntimeError(
            QStringLiteral("The picture %1 cannot be loaded: %2").arg(source, reader.errorString()));
    }
    return picture;
}

} // namespace

Form2::Form2(HandlerGuard &guard, const QString &plotName, PreviewPages pages)
    : QWidget(nullptr, fixedBorderWindow(Qt::Window))
    , m_guard(guard)
    , m_plotName(plotName)
    , m_pages(std::move(pages))
    , Picture1(new QLabel(this))
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon::icon());
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(0, 0);
    Picture1->hide();
}

void Form2::showPreview(HandlerGuard &guard, const QString &pictureFile, const QString &plotName,
    PreviewPages pages, const AutomationObject &document)
{
    auto window = std::make_unique<Form2>(guard, plotName, std::move(pages));
    window->loadPicture(pictureFile);
    window->show();
    window->showPicture();
    window.release()->makeOtherPages(document); // the window deletes itself when closed
}

void Form2::makeOtherPages(const AutomationObject &document)
{
    QList<qsizetype> pending;
    // Forward from the page in view, the way the user reads, then the ones before it.
    for (qsizetype page = m_pages.current(); page <= m_pages.last(); ++page)
        pending.append(page);
    for (qsizetype page = m_pages.first(); page < m_pages.current(); ++page)
        pending.append(page);
    pending.removeIf([this](qsizetype page) { return m_pages.isMade(page); });
    if (pending.isEmpty() || document.isEmpty())
        return;
    m_maker = new PreviewPageMaker(document, pending, this);
    connect(m_maker, &PreviewPageMaker::pageMade, this, &Form2::notePageMade);
    connect(m_maker, &PreviewPageMaker::finished, this, &Form2::noteMakingEnded);
    m_maker->start();
}

void Form2::notePageMade(qsizetype page, const QByteArray &picture)
{
    m_pages.setPicture(page, picture);
    if (page == m_pages.current())
        m_guard.run(Trap::Silent, [this, page] { showPage(page); });
}

void Form2::noteMakingEnded(const QString &failure)
{
    m_maker->deleteLater();
    m_maker = nullptr;
    if (failure.isEmpty())
        return;
    // The pages made so far stay; the caption says that no more will come.
    m_makingStopped = true;
    showCaption();
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

void Form2::keyPressEvent(QKeyEvent *event)
{
    if (!PreviewPages::isPageKey(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_guard.run(Trap::Silent, [this, key = event->key()] { Form_KeyDown(key); });
}

void Form2::Form_KeyDown(int key)
{
    const qsizetype page = m_pages.pageForKey(key);
    if (page >= 0)
        showPage(page);
}

void Form2::loadPicture(const QString &fileName)
{
    QByteArray picture = FileSystem::readFile(fileName);
    if (picture.isEmpty()) // no picture, and not one still to come
        throw RuntimeError(QStringLiteral("The picture \"%1\" cannot be loaded: it is empty.").arg(fileName));
    m_pages.setPicture(m_pages.current(), std::move(picture));
    showPage(m_pages.current());
}

void Form2::showPage(qsizetype page)
{
    if (!m_pages.isMade(page)) {
        // The picture in view stays until the page's own comes, which is made next.
        m_pages.setCurrent(page);
        if (m_maker)
            m_maker->prefer(page);
        showCaption();
        return;
    }
    const QPixmap picture = QPixmap::fromImage(decodePicture(
        m_pages.picture(page), QStringLiteral("of page %1 of \"%2\"").arg(page + 1).arg(m_plotName)));
    m_pages.setCurrent(page);
    Picture1->setPixmap(picture);
    Picture1->resize(picture.size());
    fitToPicture();
    showCaption();
}

void Form2::showCaption()
{
    const QString caption = m_pages.caption(m_plotName, m_pages.current(), m_makingStopped);
    if (caption != windowTitle()) {
        setWindowTitle(caption);
        // Qt announces no new window title on its own; a screen reader learns the page from this.
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
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
