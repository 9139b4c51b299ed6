#pragma once

#include <QWidget>

class QLabel;

/// A preview window: one picture box at the top-left corner of a window that cannot be resized.
/// It lives until the user closes it or the program ends.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    Form2();

    /// Opens a preview window of its own showing the picture file, titled after the plot's name.
    /// Throws RuntimeError, and shows nothing, when the file cannot be read as a picture.
    static void showPreview(const QString &pictureFile, const QString &plotName);

protected:
    bool event(QEvent *event) override;

private:
    /// Loads the picture file into Picture1, which takes the picture's size. Throws RuntimeError
    /// when the file cannot be read as a picture.
    void loadPicture(const QString &fileName);
    /// Sizes the window around Picture1: outer width the picture's, outer height the picture's plus
    /// 400 twips, frame included as far as it is known.
    void fitToPicture();
    /// The frame the window manager gives the window, as far as it is known yet.
    QSize frameSize() const;
    void showPicture();

    QLabel *Picture1;
};
