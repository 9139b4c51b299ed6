#include "BrowseTestHelpers.h"
#include "browse/BrowseCommands.h"
#include "browse/DirectoryReader.h"
#include "browse/FilePattern.h"
#include "browse/FullPath.h"
#include "browse/SortedNames.h"
#include "browse/SystemVolumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

class tst_BrowseLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filePattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star") << "*.plt"
                              << "a.plt" << true;
        QTest::newRow("star, upper-case name") << "*.plt"
                                               << "B.PLT" << true;
        QTest::newRow("star, mixed-case name") << "*.plt"
                                               << "x.Plt" << true;
        QTest::newRow("star, upper-case pattern") << "*.PLT"
                                                  << "a.plt" << true;
        QTest::newRow("star must reach the end") << "*.plt"
                                                 << "a.plt.bak" << false;
        QTest::newRow("star needs the dot") << "*.plt"
                                            << "aplt" << false;
        QTest::newRow("star may be empty") << "*.plt"
                                           << ".plt" << true;
        QTest::newRow("stars backtrack") << "a*b*c"
                                         << "axbybzc" << true;
        QTest::newRow("stars keep order") << "a*b*c"
                                          << "acb" << false;
        QTest::newRow("question mark is one character") << "?.plt"
                                                        << "a.plt" << true;
        QTest::newRow("question mark not two") << "?.plt"
                                               << "ab.plt" << false;
        QTest::newRow("question mark not none") << "?.plt"
                                                << ".plt" << false;
        QTest::newRow("list, first") << "*.plt;*.hgl"
                                     << "a.plt" << true;
        QTest::newRow("list, second") << "*.plt;*.hgl"
                                      << "a.HGL" << true;
        QTest::newRow("list, neither") << "*.plt;*.hgl"
                                       << "a.txt" << false;
        QTest::newRow("list with blanks") << " *.plt ; *.hgl "
                                          << "a.hgl" << true;
        QTest::newRow("star star dot needs a dot") << "*.*"
                                                   << "readme" << false;
        QTest::newRow("plain name") << "readme"
                                    << "README" << true;
        QTest::newRow("brackets are plain") << "[a].plt"
                                            << "[a].plt" << true;
        QTest::newRow("brackets are no class") << "[a].plt"
                                               << "a.plt" << false;
        QTest::newRow("empty lists everything") << ""
                                                << "readme" << true;
        QTest::newRow("blank lists everything") << "   "
                                                << "a.txt" << true;
        QTest::newRow("separators only list everything") << ";;"
                                                         << "a.txt" << true;
        QTest::newRow("non-ASCII folded") << "ÄRGER*"
                                          << "ärger.plt" << true;
    }
    void filePattern()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(FilePattern(pattern).matches(name), matches);
    }

    void plotFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isPlot");
        QTest::newRow("a.plt") << "a.plt" << true;
        QTest::newRow("B.PLT") << "B.PLT" << true;
        QTest::newRow(".plt") << ".plt" << true;
        QTest::newRow("x.Plt") << "x.Plt" << false;
        QTest::newRow("a.b.plt") << "a.b.plt" << false;
        QTest::newRow("readme") << "readme" << false;
        QTest::newRow("abc.") << "abc." << false;
        QTest::newRow("a.pltx") << "a.pltx" << false;
        QTest::newRow("plt") << "plt" << false;
    }
    void plotFileName()
    {
        QFETCH(QString, name);
        QFETCH(bool, isPlot);
        QCOMPARE(BrowseCommands::isPlotFileName(name), isPlot);
    }

    void fullPathJoinsWithoutCheck_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("joined");
        const QString sep = QDir::separator();
        QTest::newRow("directory") << sep + "plots" << sep + "plots" + sep + "a.plt";
        QTest::newRow("root doubles the separator") << sep << sep + sep + "a.plt";
    }
    void fullPathJoinsWithoutCheck()
    {
        QFETCH(QString, directory);
        QFETCH(QString, joined);
        QCOMPARE(fullPath(directory, QStringLiteral("a.plt")), joined);
    }

    void volumeHoldingPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("root");
        QTest::newRow("inside a mount") << "/mnt/data/plots"
                                        << "/mnt/data";
        QTest::newRow("the mount itself") << "/mnt/data"
                                          << "/mnt/data";
        QTest::newRow("longest mount wins") << "/mnt/data/deep/x"
                                            << "/mnt/data/deep";
        QTest::newRow("prefix of a name is no mount") << "/mnt/database"
                                                      << "/";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("relative path") << "plots"
                                       << "";
    }
    void volumeHoldingPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, root);
        const QList<Volume> volumes { { "/", {}, true }, { "/mnt/data/deep", {}, true },
            { "/mnt/data", {}, false } };
        QCOMPARE(volumeRootOf(volumes, path), root);
    }

    void browsableVolumes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("browsable");
        QTest::newRow("ext4 root") << "ext4"
                                   << "/" << true;
        QTest::newRow("ext4 home") << "ext4"
                                   << "/home" << true;
        QTest::newRow("vfat stick") << "vfat"
                                    << "/media/user/STICK" << true;
        QTest::newRow("network share") << "nfs4"
                                       << "/srv/plots" << true;
        QTest::newRow("sshfs") << "fuse.sshfs"
                               << "/mnt/remote" << true;
        QTest::newRow("container root overlay") << "overlay"
                                                << "/" << true;
        QTest::newRow("other overlay") << "overlay"
                                       << "/var/lib/docker/overlay2/x/merged" << false;
        QTest::newRow("tmpfs") << "tmpfs"
                               << "/run" << false;
        QTest::newRow("proc") << "proc"
                              << "/proc" << false;
        QTest::newRow("sysfs") << "sysfs"
                               << "/sys" << false;
        QTest::newRow("cgroup2") << "cgroup2"
                                 << "/sys/fs/cgroup" << false;
        QTest::newRow("devpts") << "devpts"
                                << "/dev/pts" << false;
        QTest::newRow("mqueue") << "mqueue"
                                << "/dev/mqueue" << false;
        QTest::newRow("autofs") << "autofs"
                                << "/proc/sys/fs/binfmt_misc" << false;
        QTest::newRow("snap image") << "squashfs"
                                    << "/snap/core/1" << false;
        QTest::newRow("other squashfs") << "squashfs"
                                        << "/mnt/image" << true;
    }
    void browsableVolumes()
    {
        QFETCH(QString, type);
        QFETCH(QString, root);
        QFETCH(bool, browsable);
        QCOMPARE(SystemVolumes::isBrowsable(type, root), browsable);
    }

    void systemVolumesHoldTheRoot()
    {
        const auto volumes = VolumeSource::system()->volumes();
        QVERIFY(!volumeRootOf(volumes, QDir::toNativeSeparators(QDir::rootPath())).isEmpty());
        for (const Volume &volume : volumes)
            QVERIFY2(QFileInfo(volume.rootPath).isDir(), qPrintable(volume.rootPath));
    }

    void sortedNames_data()
    {
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("first listing") << QStringList {} << QStringList { "b", "C", "a", "A", "ab" }
                                       << QStringList { "A", "a", "ab", "b", "C" };
        QTest::newRow("newcomer first")
            << QStringList { "b", "C" } << QStringList { "C", "a", "b" } << QStringList { "a", "b", "C" };
        QTest::newRow("newcomers between") << QStringList { "a", "d" } << QStringList { "C", "d", "b", "a" }
                                           << QStringList { "a", "b", "C", "d" };
        QTest::newRow("newcomer last")
            << QStringList { "a", "b" } << QStringList { "b", "a", "Z" } << QStringList { "a", "b", "Z" };
        QTest::newRow("case twin arrives")
            << QStringList { "a", "b" } << QStringList { "b", "a", "A" } << QStringList { "A", "a", "b" };
        QTest::newRow("one gone") << QStringList { "a", "b", "c" } << QStringList { "c", "a" }
                                  << QStringList { "a", "c" };
        QTest::newRow("one replaced")
            << QStringList { "a", "b" } << QStringList { "a", "B2" } << QStringList { "a", "B2" };
        QTest::newRow("all new") << QStringList { "x", "y" } << QStringList { "b", "a" }
                                 << QStringList { "a", "b" };
    }
    void sortedNames()
    {
        QFETCH(QStringList, known);
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        std::vector<FoldedName> folded;
        for (const QString &name : names)
            folded.push_back({ name.toCaseFolded(), name });
        QCOMPARE(::sortedNames(folded, known), sorted);
    }

    void unchangedNamesKeepTheirList()
    {
        const QStringList known { "a", "B", "c" };
        std::vector<FoldedName> names { { "c", "c" }, { "a", "a" }, { "b", "B" } };
        QVERIFY(::sortedNames(names, known).constData() == known.constData());
    }

    void directoryReader_data()
    {
        QTest::addColumn<DirectoryReader::EntryKind>("kind");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("files") << DirectoryReader::EntryKind::Files
                               << QStringList { "a.plt", "B.PLT", "link.plt", "notes.txt", "x.Plt" };
        QTest::newRow("directories") << DirectoryReader::EntryKind::Directories
                                     << QStringList { "alpha", "Beta", "linkdir" };
    }
    void directoryReader()
    {
        QFETCH(DirectoryReader::EntryKind, kind);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        for (const char *file : { "x.Plt", "B.PLT", "a.plt", "notes.txt", ".hidden.plt" })
            QVERIFY(QFile(dir.filePath(file)).open(QIODevice::WriteOnly));
        for (const char *sub : { "Beta", "alpha", ".git" })
            QVERIFY(QDir(dir.path()).mkdir(sub));
        QVERIFY(QFile::link(dir.filePath("a.plt"), dir.filePath("link.plt")));
        QVERIFY(QFile::link(dir.filePath("gone.plt"), dir.filePath("dangling.plt")));
        QVERIFY(QFile::link(dir.filePath("alpha"), dir.filePath("linkdir")));
#ifndef Q_OS_WIN
        // A name that is no valid UTF-8 could not be opened again through its decoded text.
        const QByteArray undecodable = QFile::encodeName(dir.path()) + "/bad\xff.plt";
        QCOMPARE(::close(::open(undecodable.constData(), O_CREAT | O_WRONLY, 0644)), 0);
#endif

        const DirectoryListing listing = DirectoryReader::read(dir.path(), kind);
        QVERIFY(listing.isRead());
        QCOMPARE(listing.names, names);
        const QStringList stale { names.first(), "gone" };
        QCOMPARE(DirectoryReader::read(dir.path(), kind, {}, stale).names, names);
    }

    void unreadableDirectory_data()
    {
        addUnlistablePathRows();
    }
    void unreadableDirectory()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath("file.plt")).open(QIODevice::WriteOnly));
        const QString path = dir.filePath(relative);
        const DirectoryListing listing = DirectoryReader::read(path, DirectoryReader::EntryKind::Files);
        QVERIFY(!listing.isRead());
        QVERIFY(listing.names.isEmpty());
        QVERIFY2(listing.error.contains(QDir::toNativeSeparators(path)), qPrintable(listing.error));
    }
};

QTEST_GUILESS_MAIN(tst_BrowseLogic)
#include "tst_browselogic.moc"
