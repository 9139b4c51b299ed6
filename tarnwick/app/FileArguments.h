#pragma once

#include <QStringList>
#include <functional>

/// The files named on the command line, as a desktop's "open with" passes them: which of them go
/// to the print list, and which are left out and why.
namespace FileArguments {

/// Whether the user may read the file at `path`; tests replace it, since root may read anything.
using MayRead = std::function<bool(const QString &path)>;
bool userMayRead(const QString &path);

struct Sorted
{
    /// Full paths of the readable files, in the order given, repeats kept as "Add to List" keeps them.
    QStringList files;
    /// "full path: reason" for every other argument, each once.
    QStringList leftOut;
};

/// Sorts `arguments` (the program's name already dropped); relative paths are taken from
/// `currentDirectory`, and a literal "--" names no file.
Sorted sort(
    const QStringList &arguments, const QString &currentDirectory, const MayRead &mayRead = userMayRead);

/// The report on the files left out, naming the first few of them so that the message box still
/// fits on the screen when a file manager passes hundreds.
QString leftOutReport(const QStringList &leftOut);

} // namespace FileArguments
