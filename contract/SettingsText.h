#pragma once
// The settings-file format both programs read: Tarnwick's own settings and the pen table.

#include <QByteArray>
#include <QList>
#include <QString>

namespace SettingsText {

/// Bytes of a settings file at most: far beyond a few lines, short of a file that is none.
inline constexpr qint64 largestFile = 16 * 1024 * 1024;

struct FileContents
{
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    QByteArray bytes;
    QString error; // why an existing file could not be read
};

/// The settings file at `path`, which errors call `what` ("the pen table"). Only a regular file is
/// read, and only so far: a pipe or a device would block or never end.
FileContents readFile(const QString &path, const QString &what);

/// One line of a settings file: "[Section]" (a comment may follow), "key=value", a comment
/// starting with ';' or '#', or a blank line; anything else cannot be read.
struct Line
{
    enum class Kind { Blank, Comment, Section, Entry, Unreadable };
    Kind kind = Kind::Blank;
    QString name; // the section's or the entry's key, trimmed
    QString value; // the entry's, trimmed and without one pair of surrounding quotes
};

/// The file's lines without their ends ("\n" or "\r\n").
QList<QByteArray> lines(const QByteArray &contents);
/// One line's bytes, decoded as UTF-8 (else Latin-1, as older systems wrote them), with a UTF-8
/// byte-order mark dropped, as Windows editors start a file with one.
QString decode(const QByteArray &line);
Line parse(const QByteArray &line);

} // namespace SettingsText
