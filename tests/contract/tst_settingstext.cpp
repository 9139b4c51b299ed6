// The settings-file format, read by both of its readers from the same file texts: Tarnwick's
// settings (the default directory) and the plot server's pen table.

#include "contract/SettingsText.h"
#include "plotviewer/document/PenTableFile.h"
#include "tarnwick/app/Global.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// Pen 1 of a table as "width colour", empty halves left out; "none" without pen 1.
QString penOne(const plotviewer::PenTableFile &table)
{
    const auto &pens = table.pens.pens();
    const auto pen = pens.find(1);
    if (pen == pens.end())
        return QStringLiteral("none");
    QStringList halves;
    if (pen->second.width)
        halves << QString::number(*pen->second.width);
    if (pen->second.colour) {
        const plotviewer::Rgb c = *pen->second.colour;
        halves << QStringLiteral("#%1%2%3")
                      .arg(c.r, 2, 16, QLatin1Char('0'))
                      .arg(c.g, 2, 16, QLatin1Char('0'))
                      .arg(c.b, 2, 16, QLatin1Char('0'));
    }
    return halves.join(u' ');
}

} // namespace

class tst_SettingsText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothReadersAgree_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("pen");
        QTest::addColumn<int>("warnings");
        const auto row = [](const char *name, const QByteArray &text, const char *directory, const char *pen,
                             int warnings = 0) {
            QTest::newRow(name) << text << QString::fromUtf8(directory) << QString::fromUtf8(pen) << warnings;
        };
        row("plain", "[UserSettings]\nDefault_Dir=/plots\n[Pens]\n1=0.25 #ff0000\n", "/plots",
            "0.25 #ff0000");
        // Windows Notepad starts a file with a byte-order mark; such a table used to be left out.
        row("byte-order mark", "\xEF\xBB\xBF[Pens]\n1=0.5 #00ff00\n[UserSettings]\nDefault_Dir=/a\n", "/a",
            "0.5 #00ff00");
        row("CRLF line ends", "[Pens]\r\n1=#0000ff\r\n[UserSettings]\r\nDefault_Dir=/b\r\n", "/b", "#0000ff");
        row("comment after a section's name",
            "[Pens] ; plotter 2\n1=0.35\n[UserSettings] # mine\nDefault_Dir=/c\n", "/c", "0.35");
        row("comments and blank lines everywhere",
            "# settings\n; of this machine\n\n[UserSettings]\n\n# where to open\nDefault_Dir=/d\n\n[Pens]\n; "
            "pens\n1=0.7\n\n",
            "/d", "0.7");
        row("names without regard to case", "[usersettings]\ndefault_dir=/e\n[PENS]\n1=1\n", "/e", "1");
        row("the first of two keys", "[UserSettings]\nDefault_Dir=/first\nDefault_Dir=/second\n", "/first",
            "none");
        row("quoted value keeps its blanks", "[UserSettings]\nDefault_Dir=\"  /f  \"\n", "  /f  ", "none");
        row("a line neither reads", "[Pens]\nthis is no line\n1=0.25\n[UserSettings]\nDefault_Dir=/g\n", "/g",
            "0.25", 1);
        row("a bad pen line", "[Pens]\n1=0.25\n2=wide\n", "", "0.25", 1);
    }
    void bothReadersAgree()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, directory);
        QFETCH(QString, pen);
        QFETCH(int, warnings);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tarnwick.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QCOMPARE(Global::ReadSetting(
                     QStringLiteral("UserSettings"), QStringLiteral("Default_Dir"), QString(), path),
            directory);
        const plotviewer::PenTableFile table = plotviewer::PenTableFile::read(path);
        QCOMPARE(penOne(table), pen);
        QCOMPARE(table.warnings.size(), warnings);
        for (const QString &warning : table.warnings)
            QVERIFY2(warning.contains(path) && warning.contains(u"line "), qPrintable(warning));
    }

    void linesKeepTheirKind_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        using Kind = SettingsText::Line::Kind;
        QTest::newRow("blank") << QByteArray("   ") << int(Kind::Blank) << QString() << QString();
        QTest::newRow("section") << QByteArray(" [ Pens ] ") << int(Kind::Section) << "Pens" << QString();
        QTest::newRow("unclosed section")
            << QByteArray("[Pens") << int(Kind::Unreadable) << QString() << QString();
        QTest::newRow("entry") << QByteArray(" a = b c ") << int(Kind::Entry) << "a"
                               << "b c";
        QTest::newRow("empty value") << QByteArray("a=") << int(Kind::Entry) << "a" << QString();
        QTest::newRow("no key") << QByteArray("=b") << int(Kind::Unreadable) << QString() << QString();
        QTest::newRow("single quotes") << QByteArray("a=' b '") << int(Kind::Entry) << "a"
                                       << " b ";
        QTest::newRow("Latin-1 bytes")
            << QByteArray("a=D\xe9j\xe0") << int(Kind::Entry) << "a" << QString::fromUtf8("Déjà");
        QTest::newRow("hash comment") << QByteArray("#a=b") << int(Kind::Comment) << QString() << QString();
    }
    void linesKeepTheirKind()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, value);
        const SettingsText::Line read = SettingsText::parse(line);
        QCOMPARE(int(read.kind), kind);
        QCOMPARE(read.name, name);
        QCOMPARE(read.value, value);
    }
};

QTEST_MAIN(tst_SettingsText)
#include "tst_settingstext.moc"
