#include "tarnwick/plot/Form2.h"

#include "contract/PlotViewerContract.h"

#include "tarnwick/base/AppIcon.h"
#include "tarnwick/base/FileSystem.h"
#include "tarnwick/base/HandlerGuard.h"
#include "tarnwick/base/RuntimeError.h"
#include "tarnwick/base/Twips.h"
#include "tarnwick/base/WindowFlags.h"
#include "tarnwick/plot/PagePicture.h"
#include "tarnwick/plot/PreviewPageMaker.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QKeyEvent>

#include <cmath>
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
    , Picture1(new PagePicture(this))
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon::icon());
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->move(0, 0);
    Picture1->hide();
    connect(Picture1, &PagePicture::wheelTurned, this,
        [this](QPointF position, QPoint angle, Qt::KeyboardModifiers modifiers) {
            m_guard.run(Trap::Silent, [&] { Picture1_Wheel(position, angle, modifiers); });
        });
    connect(Picture1, &PagePicture::dragged, this,
        [this](QPointF delta) { m_guard.run(Trap::Silent, [&] { Picture1_Drag(delta); }); });
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
    if (document.isEmpty())
        return;
    const bool drawings = document.hasMember(PlotViewer::SaveSvgPageTo);
    QList<PreviewPageMaker::Work> pending;
    // Forward from the page in view, the way the user reads, then the ones before it.
    const auto add = [&](qsizetype page) {
        if (!m_pages.isMade(page) || drawings)
            pending.append({ page, !m_pages.isMade(page), drawings });
    };
    for (qsizetype page = m_pages.current(); page <= m_pages.last(); ++page)
        add(page);
    for (qsizetype page = m_pages.first(); page < m_pages.current(); ++page)
        add(page);
    if (pending.isEmpty())
        return;
    m_maker = new PreviewPageMaker(document, pending, this);
    connect(m_maker, &PreviewPageMaker::pageMade, this, &Form2::notePageMade);
    connect(m_maker, &PreviewPageMaker::drawingMade, this, &Form2::noteDrawingMade);
    connect(m_maker, &PreviewPageMaker::finished, this, &Form2::noteMakingEnded);
    m_maker->start();
}

void Form2::notePageMade(qsizetype page, const QByteArray &picture)
{
    m_pages.setPicture(page, picture);
    if (page == m_pages.current())
        m_guard.run(Trap::Silent, [this, page] { showPage(page); });
}

void Form2::noteDrawingMade(qsizetype page, const QByteArray &svg)
{
    m_pages.setDrawing(page, svg);
    if (page == m_pages.current() && m_pages.isMade(page))
        Picture1->setDrawing(svg);
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
    if (!isViewKey(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_guard.run(Trap::Silent,
        [this, key = event->key(), modifiers = event->modifiers()] { Form_KeyDown(key, modifiers); });
}

bool Form2::isViewKey(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: // + without Shift on many keyboards
    case Qt::Key_Minus:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    case Qt::Key_0:
        return modifiers.testFlag(Qt::ControlModifier);
    default:
        return PreviewPages::isPageKey(key);
    }
}

void Form2::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (PreviewPages::isPageKey(key)) {
        const qsizetype page = m_pages.pageForKey(key);
        if (page >= 0)
            showPage(page);
        return;
    }
    // An arrow moves the page an eighth of the view, as far as its edges allow.
    const QPointF stride(Picture1->width() / 8.0, Picture1->height() / 8.0);
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Picture1->zoomAbout(QRectF(Picture1->rect()).center(), PageZoom::step);
        break;
    case Qt::Key_Minus:
        Picture1->zoomAbout(QRectF(Picture1->rect()).center(), 1 / PageZoom::step);
        break;
    case Qt::Key_0:
        if (modifiers.testFlag(Qt::ControlModifier))
            Picture1->resetZoom();
        break;
    case Qt::Key_Left:
        Picture1->pan({ stride.x(), 0 });
        break;
    case Qt::Key_Right:
        Picture1->pan({ -stride.x(), 0 });
        break;
    case Qt::Key_Up:
        Picture1->pan({ 0, stride.y() });
        break;
    case Qt::Key_Down:
        Picture1->pan({ 0, -stride.y() });
        break;
    default:
        break;
    }
    showCaption();
}

void Form2::Picture1_Wheel(QPointF position, QPoint angle, Qt::KeyboardModifiers modifiers)
{
    // One notch of the wheel is 120 eighths of a degree: a zoom step, or an eighth of the view.
    if (modifiers.testFlag(Qt::ControlModifier)) {
        Picture1->zoomAbout(position, std::pow(PageZoom::step, angle.y() / 120.0));
    } else {
        const QPoint turned = modifiers.testFlag(Qt::ShiftModifier) ? QPoint(angle.y(), angle.x()) : angle;
        Picture1->pan(QPointF(turned.x() * Picture1->width(), turned.y() * Picture1->height()) / (8 * 120.0));
    }
    showCaption();
}

void Form2::Picture1_Drag(QPointF delta)
{
    Picture1->pan(delta);
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
    Picture1->showPage(picture, m_pages.drawing(page)); // a new page opens whole
    fitToPicture();
    showCaption();
}

void Form2::showCaption()
{
    const PageZoom &zoom = Picture1->zoom();
    const QString caption = m_pages.caption(
        m_plotName, m_pages.current(), m_makingStopped, zoom.isFirstView() ? QString() : zoom.percent());
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
