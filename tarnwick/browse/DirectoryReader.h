#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class DirectorySnapshot;

/// What one reading of a directory found.
struct DirectoryListing
{
    QStringList names; ///< sorted case-insensitively
    QString error; ///< why the directory could not be read; empty when it was read
    /// After a reread that met changed entries: the row now of each row of the snapshot's
    /// listing, -1 for names gone. Empty when nothing changed, and after a first reading.
    std::vector<qsizetype> rowOfEarlier;

    bool isRead() const { return error.isEmpty(); }
};

/// Reads the visible entries of a directory in one pass, taking each entry's type from the
/// directory itself where the file system gives it, so only links cost a status call.
namespace DirectoryReader {

enum class EntryKind {
    Files, ///< regular files and links to them
    Directories, ///< directories and links to them
};

/// Accepts or refuses an entry by its case-folded name.
using NameFilter = std::function<bool(QStringView foldedName)>;

/// The names of `kind` in `directory`, hidden (dot) entries left out, those that `accept` refuses
/// too. A directory that cannot be read, or fails part way, gives no names and the reason.
DirectoryListing read(const QString &directory, EntryKind kind, const NameFilter &accept = {});

/// The same, taking the entries met again from `snapshot`, which the previous reading with this
/// kind and filter left, and leaving this reading's there. When the directory holds the same
/// entries as before, the names are the snapshot's own list (same shared data).
DirectoryListing reread(
    const QString &directory, EntryKind kind, const NameFilter &accept, DirectorySnapshot &snapshot);

} // namespace DirectoryReader
