#pragma once

class FileList;
class PrintList;
class QLineEdit;

/// What the print list's handlers do; each ends by writing the count box.
namespace PrintListCommands {

/// Appends the full path of every selected file, in file-list order.
void addSelected(const FileList &files, PrintList &printList, QLineEdit &countBox);
void removeSelected(PrintList &printList, QLineEdit &countBox);
void clear(PrintList &printList, QLineEdit &countBox);
void showCount(const PrintList &printList, QLineEdit &countBox);

} // namespace PrintListCommands
