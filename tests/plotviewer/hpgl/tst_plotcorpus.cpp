// Every real-world file of the shared corpus: no crash, and an error exactly where EXPECT.tsv says.

#include "PlotTestSupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTest>

class TestPlotCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void file_data();
    void file();

private:
    QDir m_files;
    QHash<QString, QString> m_expected;
};

void TestPlotCorpus::initTestCase()
{
    const QString root = qEnvironmentVariable("TARNWICK_SOURCE_DIR");
    m_files = QDir(root + QStringLiteral("/../shared/corpus/files"));
    if (root.isEmpty() || !m_files.exists())
        QSKIP("the shared corpus is not next to the source tree");
    QFile expect(m_files.filePath(QStringLiteral("../EXPECT.tsv")));
    QVERIFY(expect.open(QIODevice::ReadOnly));
    while (!expect.atEnd()) {
        const QList<QByteArray> fields = expect.readLine().trimmed().split('\t');
        if (fields.size() == 2 && !fields[0].startsWith('#'))
            m_expected.insert(QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]));
    }
}

void TestPlotCorpus::file_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expect");
    const QStringList names = m_files.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name))
            << m_files.filePath(name) << m_expected.value(name, QStringLiteral("draw"));
}

void TestPlotCorpus::file()
{
    QFETCH(QString, path);
    QFETCH(QString, expect);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const plotviewer::InterpretResult result = plottest::interpret(file.readAll());
    if (expect == QLatin1String("either"))
        return; // either outcome is fine; reaching here means no crash
    if (expect == QLatin1String("error")) {
        QVERIFY(!result.error.empty());
        QVERIFY(result.plot.pages.empty());
        return;
    }
    QVERIFY2(result.error.empty(), result.error.c_str());
    QVERIFY(!result.plot.pages.empty());
    for (const plotviewer::Page &page : result.plot.pages) {
        QVERIFY(!page.items.empty());
        QVERIFY(!page.inkBounds.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestPlotCorpus)
#include "tst_plotcorpus.moc"
