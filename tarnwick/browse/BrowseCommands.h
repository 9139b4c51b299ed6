#pragma once

#include <QString>

class FileList;

/// What "Select *.plt" does with the file list.
namespace BrowseCommands {

/// Re-reads the file list and adds every plot file to the selection.
void selectPlotFiles(FileList &files);
/// True when the text after the first dot is exactly "PLT" or "plt".
bool isPlotFileName(const QString &entry);

} // namespace BrowseCommands
