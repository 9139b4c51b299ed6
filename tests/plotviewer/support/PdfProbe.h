#pragma once

#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>

namespace plotviewer::test {

/// Reads a PDF with poppler's command-line tools (pdfinfo, pdftoppm, pdftotext from poppler-utils),
/// to check what was printed: page count, page sizes, title, the pages as pictures and their text.
class PdfProbe
{
public:
    /// Empty when the tools are installed, else a sentence saying what is missing.
    static QString missingTools();

    /// Reads `path`; false with `error` set when poppler cannot read it.
    bool open(const QString &path, QString *error);

    QString path() const { return m_path; }
    int pageCount() const { return int(m_pageSizes.size()); }
    /// The size of page `index` (from 0) in points, turned as it is shown (rotation applied).
    QSizeF pageSize(int index) const { return m_pageSizes.at(index); }
    QString title() const { return m_title; }
    /// Page `index` (from 0) as a picture at `dotsPerInch`; null with `error` set on failure.
    QImage renderPage(int index, int dotsPerInch, QString *error) const;
    /// The text on page `index` (from 0); null with `error` set on failure.
    QString pageText(int index, QString *error) const;

private:
    QString m_path;
    QString m_title;
    QList<QSizeF> m_pageSizes;
};

} // namespace plotviewer::test
