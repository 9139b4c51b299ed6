#pragma once

#include <QString>

class DirList;
class FileList;

/// What the file browser's handlers do with its controls.
namespace BrowseCommands {

/// The file list follows the directory list.
void followDirectory(const DirList &directories, FileList &files);
/// On Enter (character code 13), the pattern box's whole text becomes the file list's pattern.
void applyPatternOnEnter(int keyAscii, const QString &patternText, FileList &files);
void selectAll(FileList &files);
/// Re-reads the file list and adds every plot file to the selection.
void selectPlotFiles(FileList &files);
/// True when the text after the first dot is exactly "PLT" or "plt".
bool isPlotFileName(const QString &entry);

} // namespace BrowseCommands
