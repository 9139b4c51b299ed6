#include "CorpusFiles.h"

#include <QDir>
#include <QFile>

namespace plotviewer::test {

QString corpusFolder()
{
    const QString overridden = qEnvironmentVariable("TARNWICK_CORPUS_DIR");
    if (!overridden.isEmpty())
        return overridden;
    return QDir(qEnvironmentVariable("TARNWICK_SOURCE_DIR"))
        .filePath(QStringLiteral("../shared/corpus/files"));
}

QHash<QString, QString> corpusExpectations()
{
    QHash<QString, QString> expected;
    QFile file(QDir(corpusFolder()).filePath(QStringLiteral("../EXPECT.tsv")));
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
