#pragma once

#include "tarnwick/plot/PreviewPages.h"

#include <QWidget>

class HandlerGuard;
class QLabel;

/// A preview window: one picture box at the top-left corner of a window that cannot be resized.
/// For a plot of several pages, Page Down and Page Up, Home and End turn the pages. It lives until
/// the user closes it or the program ends.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    Form2(HandlerGuard &guard, const QString &plotName, PreviewPages pages);

    /// Opens a preview window of its own showing the picture file, the page in view of `pages`,
    /// titled after the plot's name. Throws RuntimeError, and shows nothing, when the file cannot be
    /// read as a picture.
    static void showPreview(
        HandlerGuard &guard, const QString &pictureFile, const QString &plotName, PreviewPages pages);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_KeyDown(int key);
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

    HandlerGuard &m_guard;
    QString m_plotName;
    PreviewPages m_pages;
    QLabel *Picture1;
};
