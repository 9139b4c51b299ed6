#pragma once
// The shared corpus of real-world plot files and what its EXPECT.tsv says each one gives.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

namespace plotviewer::test {

/// The corpus folder: TARNWICK_CORPUS_DIR, else shared/corpus/files beside the source tree.
inline QDir corpusFolder()
{
    const QString overridden = qEnvironmentVariable("TARNWICK_CORPUS_DIR");
    if (!overridden.isEmpty())
        return QDir(overridden);
    return QDir(
        QDir(qEnvironmentVariable("TARNWICK_SOURCE_DIR")).filePath(QStringLiteral("../shared/corpus/files")));
}

/// EXPECT.tsv beside `folder`, by file name: "error" or "either". Files not named draw something.
inline QHash<QString, QString> corpusExpectations(const QDir &folder)
{
    QHash<QString, QString> expected;
    QFile file(folder.filePath(QStringLiteral("../EXPECT.tsv")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return expected;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || fields.size() != 2
            || fields[0] == QLatin1String("saved_name"))
            continue;
        expected.insert(fields[0], fields[1]);
    }
    return expected;
}

} // namespace plotviewer::test
