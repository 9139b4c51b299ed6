// Hostile files fed to the two commands that read files nobody checked: the CUPS filter and the
// thumbnailer command. Each must end by itself within its memory cap, either with its output or
// with a clear message and no output, and write nothing else anywhere.

#include "plotviewer/headless/ProcessLimits.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace plotviewer;

namespace {

constexpr int runTimeoutMs = 5 * 60 * 1000; // far beyond the commands' own limit

enum class Command { Filter, Thumbnailer };

struct Outcome
{
    bool ended = false; // by itself, not by a signal
    int exitCode = -1;
    QString err;
};

/// The largest resident size of any child waited for so far, in bytes.
long long largestChildMemory()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (long long)usage.ru_maxrss * 1024;
}

QByteArray repeated(
    const QByteArray &head, const QByteArray &unit, qsizetype size, const QByteArray &tail = {})
{
    QByteArray bytes = head;
    bytes.reserve(size + tail.size());
    while (bytes.size() < size)
        bytes += unit;
    return bytes + tail;
}

} // namespace

Q_DECLARE_METATYPE(Command)

class tst_UntrustedInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void hostileFile_data();
    void hostileFile();
    void filterGivesUpOnEndlessInput();

private:
    Outcome run(const QString &program, const QStringList &arguments, QProcess::ProcessChannelMode channels);
    QString writeFile(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    QString m_home; // HOME and working folder of each run, which must stay empty
    QString m_runtime;
};

void tst_UntrustedInput::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir dir(m_dir.path());
    QVERIFY(dir.mkdir(QStringLiteral("home")) && dir.mkdir(QStringLiteral("runtime")));
    m_home = dir.filePath(QStringLiteral("home"));
    m_runtime = dir.filePath(QStringLiteral("runtime"));
    QVERIFY(QFile::setPermissions(m_runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QString tst_UntrustedInput::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.exists() && (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()))
        return {};
    return path;
}

Outcome tst_UntrustedInput::run(
    const QString &program, const QStringList &arguments, QProcess::ProcessChannelMode channels)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // they must choose offscreen themselves
    environment.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_home);
    process.setProcessChannelMode(channels);
    process.start(program, arguments);
    process.closeWriteChannel();
    Outcome outcome;
    outcome.ended = process.waitForFinished(runTimeoutMs) && process.exitStatus() == QProcess::NormalExit;
    outcome.exitCode = process.exitCode();
    outcome.err = QString::fromLocal8Bit(process.readAllStandardError());
    return outcome;
}

void tst_UntrustedInput::hostileFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Command>("command");

    const QByteArray encodedPoint = "ABCDEFGH";
    QByteArray garbage(100 << 20, Qt::Uninitialized);
    QRandomGenerator generator(11);
    generator.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    const struct
    {
        const char *name;
        QByteArray bytes;
    } files[] = {
        { "endless-pe.plt", repeated("IN;SP1;PE<=", encodedPoint, 64 << 20) },
        { "absurd-page.plt", "IN;PS2147483647,2147483647;SP1;PA0,0;PD2147483647,2147483647;PG;" },
        { "absurd-raster.pcl",
            repeated("\x1b"
                     "E\x1b%0BIN;RF1,255,255",
                ",1", 255 * 255 * 2 + 20, ";FT11,1;PA0,0;RR100000000,100000000;") },
        { "endless-label.plt", repeated("IN;SI100,100;LB", "W", 16 << 20, "\x03") },
        { "garbage-100MB.plt", garbage },
    };
    for (const auto &hostile : files) {
        const QString path = writeFile(QLatin1String(hostile.name), hostile.bytes);
        QVERIFY(!path.isEmpty());
        QTest::addRow("%s through the filter", hostile.name) << path << Command::Filter;
        QTest::addRow("%s through the thumbnailer", hostile.name) << path << Command::Thumbnailer;
    }
}

void tst_UntrustedInput::hostileFile()
{
    QFETCH(QString, file);
    QFETCH(Command, command);
    const QString output = m_dir.filePath(QStringLiteral("thumbnail.png"));
    QFile::remove(output);
    const Outcome outcome = command == Command::Filter
        ? run(QStringLiteral(TARNWICK_PLOTTOPDF),
            { QStringLiteral("1"), QStringLiteral("user"), QStringLiteral("title"), QStringLiteral("1"),
                QString(), file },
            QProcess::SeparateChannels)
        : run(QStringLiteral(TARNWICK_PLOTCONVERT),
            { QStringLiteral("--format"), QStringLiteral("png"), QStringLiteral("-s"), QStringLiteral("256"),
                file, output },
            QProcess::SeparateChannels);

    QVERIFY2(outcome.ended, qPrintable(QStringLiteral("ended by a signal or hung: %1").arg(outcome.err)));
    QVERIFY2(largestChildMemory() <= ProcessLimits::MemoryBytes,
        qPrintable(QStringLiteral("%1 MB resident").arg(largestChildMemory() >> 20)));
    if (outcome.exitCode != 0) {
        const QString said
            = command == Command::Filter ? QStringLiteral("ERROR: ") : QStringLiteral("plotconvert: ");
        QVERIFY2(outcome.err.contains(said), qPrintable(outcome.err));
        QVERIFY(!QFile::exists(output));
    } else if (command == Command::Thumbnailer) {
        QVERIFY(!QImage(output).isNull());
    }
    QVERIFY2(QDir(m_home).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), "wrote into HOME");
    QCOMPARE(
        QDir(m_dir.path()).entryList({ QStringLiteral("thumbnail*") }, QDir::Files | QDir::Hidden).size(),
        outcome.exitCode == 0 && command == Command::Thumbnailer ? 1 : 0);
}

void tst_UntrustedInput::filterGivesUpOnEndlessInput()
{
    // Standard input left open with nothing more coming, as from a stalled client: only the time
    // limit ends this.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_home);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TARNWICK_PLOTTOPDF),
        { QStringLiteral("1"), QStringLiteral("user"), QStringLiteral("title"), QStringLiteral("1"),
            QString() });
    process.write("IN;SP1;PA0,0;PD100,100");
    QVERIFY(process.waitForFinished(runTimeoutMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    const QString err = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(err.startsWith(QLatin1String("ERROR: ")) && err.contains(ProcessLimits::timeoutReason()),
        qPrintable(err));
}

QTEST_GUILESS_MAIN(tst_UntrustedInput)
#include "tst_untrustedinput.moc"
