#pragma once

#include <QByteArray>
#include <QString>

/// The few file services the program uses. Failures throw RuntimeError with a description that
/// names the file and the reason.
namespace FileSystem {

bool fileExists(const QString &fileName);
/// Creates an empty text file, replacing any file of that name.
void createTextFile(const QString &fileName);
/// Creates `target` as a new file holding what `source` holds, replacing any file of that name.
void copyFile(const QString &source, const QString &target);
void deleteFile(const QString &fileName);
/// What the file holds.
QByteArray readFile(const QString &fileName);
/// The root of the file system: "/" here, "C:\" on Windows.
QString rootDirectory();

} // namespace FileSystem
