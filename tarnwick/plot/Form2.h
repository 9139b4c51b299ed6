#pragma once

#include "tarnwick/automation/AutomationObject.h"
#include "tarnwick/plot/PreviewPages.h"

#include <QWidget>

class HandlerGuard;
class PagePicture;
class PreviewPageMaker;

/// A preview window: one picture box at the top-left corner of a window that cannot be resized.
/// For a plot of several pages, Page Down and Page Up, Home and End turn the pages, whose pictures
/// the plot server makes while the window is open. Where the server gives a page's SVG, Ctrl and
/// the wheel zoom about the pointer, + and - about the centre, Ctrl+0 back to the whole page; the
/// wheel, the arrow keys and dragging move the page when zoomed in. It lives until the user closes
/// it or the program ends.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    Form2(HandlerGuard &guard, const QString &plotName, PreviewPages pages);

    /// Opens a preview window of its own showing the picture file, the page in view of `pages`,
    /// titled after the plot's name; the pages without a picture are then made from `document`.
    /// Throws RuntimeError, and shows nothing, when the file cannot be read as a picture.
    static void showPreview(HandlerGuard &guard, const QString &pictureFile, const QString &plotName,
        PreviewPages pages, const AutomationObject &document = {});

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void Picture1_Wheel(QPointF position, QPoint angle, Qt::KeyboardModifiers modifiers);
    void Picture1_Drag(QPointF delta);
    /// Whether a key turns the pages or moves the view.
    static bool isViewKey(int key, Qt::KeyboardModifiers modifiers);
    /// Loads the picture file as the page in view. Throws RuntimeError when the file cannot be read
    /// as a picture.
    void loadPicture(const QString &fileName);
    /// Shows `page`: its picture, the window fitted to it and its caption. Throws RuntimeError, and
    /// changes nothing, when the picture cannot be read.
    void showPage(qsizetype page);
    /// Sizes the window around Picture1: outer width the picture's, outer height the picture's plus
    /// 400 twips, frame included as far as it is known.
    void fitToPicture();
    /// The frame the window manager gives the window, as far as it is known yet.
    QSize frameSize() const;
    void showPicture();
    /// Has the pages without a picture made from `document`, the nearest first.
    void makeOtherPages(const AutomationObject &document);
    void notePageMade(qsizetype page, const QByteArray &picture);
    void noteDrawingMade(qsizetype page, const QByteArray &svg);
    void noteMakingEnded(const QString &failure);
    void showCaption();

    HandlerGuard &m_guard;
    QString m_plotName;
    PreviewPages m_pages;
    PreviewPageMaker *m_maker = nullptr;
    bool m_makingStopped = false;
    PagePicture *Picture1;
};
