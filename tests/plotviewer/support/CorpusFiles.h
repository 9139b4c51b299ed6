#pragma once
// Where the shared corpus of real-world plot files is, and what opening each should give.

#include <QHash>
#include <QString>

namespace plotviewer::test {

/// The corpus folder: TARNWICK_CORPUS_DIR, else beside the source tree in shared/corpus/files.
QString corpusFolder();

/// What EXPECT.tsv beside the folder says a file gives, by name: "error" or "either"; files not
/// named give a picture.
QHash<QString, QString> corpusExpectations();

} // namespace plotviewer::test
