#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// The pages of one preview window: the pictures of a run of the plot's pages as the plot server
/// wrote them, kept compressed so that a long job costs little memory, and the page in view. A
/// page whose picture is still to come holds none. Pages are counted from 0.
class PreviewPages
{
public:
    /// A plot of one page, in view.
    PreviewPages();
    /// Of a plot of `total` pages, the pictures of the pages from `first` on, page `current` in view.
    PreviewPages(qsizetype total, qsizetype first, QList<QByteArray> pictures, qsizetype current);

    qsizetype total() const { return m_total; }
    qsizetype current() const { return m_current; }
    qsizetype first() const { return m_first; }
    qsizetype last() const { return m_first + m_pictures.size() - 1; }
    bool isMade(qsizetype page) const { return !picture(page).isEmpty(); }
    qsizetype madeCount() const;
    /// The picture of `page`, one of the pages held.
    const QByteArray &picture(qsizetype page) const { return m_pictures.at(page - m_first); }
    void setPicture(qsizetype page, QByteArray picture) { m_pictures[page - m_first] = std::move(picture); }
    /// The SVG of `page` to zoom into; empty while there is none.
    QByteArray drawing(qsizetype page) const;
    /// Keeps `svg`, compressed: a dense board's drawing shrinks to a fifth.
    void setDrawing(qsizetype page, const QByteArray &svg);
    void setCurrent(qsizetype page) { m_current = page; }

    /// Whether `key` turns pages: Page Down and Page Up, Home and End.
    static bool isPageKey(int key);
    /// The page `key` turns to from the one in view, or -1 when it turns nowhere: a key that does not
    /// turn pages, or one that would leave the pages held.
    qsizetype pageForKey(int key) const;

    /// The window's caption: "Preview of : " and the plot's name, with "(page 2 of 3)" after it
    /// when the plot has more than one page, and which pages are held when not all of them are.
    /// It tells of a page not made yet, with `stopped`, that the server stopped making pages, and
    /// the zoom (as "400 %") when `zoom` is given.
    QString caption(
        const QString &plotName, qsizetype page, bool stopped = false, const QString &zoom = {}) const;

private:
    qsizetype m_total = 1;
    qsizetype m_first = 0;
    QList<QByteArray> m_pictures;
    QList<QByteArray> m_drawings; // compressed
    qsizetype m_current = 0;
};
