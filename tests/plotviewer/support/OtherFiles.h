#pragma once
// Files of other kinds than plots, made here with their real signatures, to check that each is
// refused as no plot: pictures that Qt writes, archives that zlib packs, a PDF from QPdfWriter, and
// the rest written out byte by byte as their formats lay them down.

#include <QByteArray>
#include <QList>
#include <QString>

namespace plotviewer::test {

struct OtherFile
{
    const char *name;
    QByteArray bytes;
    /// A word the refusal names the kind by (any case); empty where only the general rule can tell.
    QString kindWord;
};

QList<OtherFile> otherFiles();

QByteArray pngPicture();
/// A page with a black bar two inches wide.
QByteArray pdfDocument();
/// An archive that holds a plot.
QByteArray zipArchive();

} // namespace plotviewer::test
