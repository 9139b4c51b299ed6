#include "BrowseTestHelpers.h"
#include "tarnwick/base/FullPath.h"
#include "tarnwick/browse/BrowseCommands.h"
#include "tarnwick/browse/DirectoryReader.h"
#include "tarnwick/browse/DirectorySnapshot.h"
#include "tarnwick/browse/FilePattern.h"
#include "tarnwick/browse/MergedNames.h"
#include "tarnwick/browse/SnapshotCursor.h"
#include "tarnwick/browse/SystemVolumes.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
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

    void filePatternMatchesEverything_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("everything");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("separators only") << " ; ;" << true;
        QTest::newRow("star") << "*" << true;
        QTest::newRow("stars with blanks") << " ** " << true;
        QTest::newRow("star among others") << "*.plt; *" << true;
        QTest::newRow("extension") << "*.plt" << false;
        QTest::newRow("star and question mark") << "*?" << false;
    }
    void filePatternMatchesEverything()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, everything);
        const FilePattern filePattern(pattern);
        QCOMPARE(filePattern.matchesEverything(), everything);
        if (everything) {
            for (const char *name : { "a.txt", "x", "*" })
                QVERIFY(filePattern.matches(name));
        } else {
            QVERIFY(!filePattern.matches(QString()));
        }
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
        QTest::newRow("PLT") << "PLT" << false;
        QTest::newRow("a.plt.plt") << "a.plt.plt" << false;
        QTest::newRow("..plt") << "..plt" << false;
        QTest::newRow("a.PLt") << "a.PLt" << false;
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

    void mergedNames_data()
    {
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("gone");
        QTest::addColumn<QStringList>("newcomers");
        QTest::addColumn<QStringList>("merged");
        QTest::newRow("first listing")
            << QStringList {} << QStringList {} << QStringList { "b", "C", "a", "A", "ab" }
            << QStringList { "A", "a", "ab", "b", "C" };
        QTest::newRow("newcomer first") << QStringList { "b", "C" } << QStringList {} << QStringList { "a" }
                                        << QStringList { "a", "b", "C" };
        QTest::newRow("newcomers between") << QStringList { "a", "d" } << QStringList {}
                                           << QStringList { "C", "b" } << QStringList { "a", "b", "C", "d" };
        QTest::newRow("newcomer last") << QStringList { "a", "b" } << QStringList {} << QStringList { "Z" }
                                       << QStringList { "a", "b", "Z" };
        QTest::newRow("case twin arrives") << QStringList { "a", "b" } << QStringList {}
                                           << QStringList { "A" } << QStringList { "A", "a", "b" };
        QTest::newRow("one gone") << QStringList { "a", "b", "c" } << QStringList { "b" } << QStringList {}
                                  << QStringList { "a", "c" };
        QTest::newRow("both ends gone") << QStringList { "a", "b", "c", "d" } << QStringList { "a", "d" }
                                        << QStringList {} << QStringList { "b", "c" };
        QTest::newRow("one replaced") << QStringList { "a", "b" } << QStringList { "b" }
                                      << QStringList { "B2" } << QStringList { "a", "B2" };
        QTest::newRow("all new") << QStringList { "x", "y" } << QStringList { "x", "y" }
                                 << QStringList { "b", "a" } << QStringList { "a", "b" };
        QTest::newRow("a gone name comes back") << QStringList { "a", "b", "c" } << QStringList { "b" }
                                                << QStringList { "b" } << QStringList { "a", "b", "c" };
        QTest::newRow("a kept name comes again")
            << QStringList { "a", "b" } << QStringList {} << QStringList { "b" } << QStringList { "a", "b" };

        QStringList even;
        QStringList odd;
        QStringList all;
        for (int i = 0; i < 200; ++i) {
            const QString name = QStringLiteral("n%1").arg(i, 3, 10, QChar(u'0'));
            (i % 2 ? odd : even).append(name);
            all.append(name);
        }
        QTest::newRow("as many newcomers as known names") << even << QStringList {} << odd << all;
        std::reverse(odd.begin(), odd.end());
        QTest::newRow("newcomers in reverse") << even << QStringList {} << odd << all;
    }
    void mergedNames()
    {
        QFETCH(QStringList, known);
        QFETCH(QStringList, gone);
        QFETCH(QStringList, newcomers);
        QFETCH(QStringList, merged);
        std::vector<bool> stillThere;
        for (const QString &name : known)
            stillThere.push_back(!gone.contains(name));
        std::vector<FoldedName> folded;
        for (const QString &name : newcomers)
            folded.push_back({ name.toCaseFolded(), name });

        const MergedNames result = ::mergedNames(known, stillThere, folded);
        QCOMPARE(result.names, merged);
        QCOMPARE(result.rowOfKnown.size(), size_t(known.size()));
        for (qsizetype row = 0; row < known.size(); ++row)
            QCOMPARE(result.rowOfKnown[size_t(row)], merged.indexOf(known.at(row)));
        QCOMPARE(result.rowOfNewcomer.size(), size_t(newcomers.size()));
        for (qsizetype i = 0; i < newcomers.size(); ++i)
            QCOMPARE(result.rowOfNewcomer[size_t(i)], merged.indexOf(newcomers.at(i)));
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
        // QTemporaryDir cannot remove what it cannot name.
        const auto removeUndecodable = qScopeGuard([&undecodable] { ::unlink(undecodable.constData()); });
#endif

        const DirectoryListing listing = DirectoryReader::read(dir.path(), kind);
        QVERIFY(listing.isRead());
        QCOMPARE(listing.names, names);
    }

    void snapshotCursor_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("now");
        QTest::addColumn<int>("leastFound");
        QTest::addColumn<bool>("inOrder");
        const QStringList abc { "a", "b", "c" };
        QTest::newRow("the same") << abc << abc << 3 << true;
        QTest::newRow("one came") << abc << QStringList { "a", "x", "b", "c" } << 3 << false;
        QTest::newRow("one went") << abc << QStringList { "a", "c" } << 2 << false;
        QTest::newRow("one more at the end") << abc << QStringList { "a", "b", "c", "d" } << 3 << false;
        QTest::newRow("the last went") << abc << QStringList { "a", "b" } << 2 << false;
        QTest::newRow("all new") << abc << QStringList { "x", "y" } << 0 << false;

        QStringList thousand;
        for (int i = 0; i < 1000; ++i)
            thousand.append(QStringLiteral("n%1").arg(i));
        // Past the few entries looked at further on, the misses soon turn to the table.
        QTest::newRow("many went at once")
            << thousand << thousand.mid(0, 100) + thousand.mid(600) << 450 << false;
        QStringList reversed = thousand;
        std::reverse(reversed.begin(), reversed.end());
        QTest::newRow("order reversed") << thousand << reversed << 900 << false;
    }
    void snapshotCursor()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, now);
        QFETCH(int, leastFound);
        QFETCH(bool, inOrder);
        DirectorySnapshot snapshot;
        for (const QString &name : before)
            snapshot.addEntry(name.toUtf8(), DirectorySnapshot::LeftOut);

        SnapshotCursor cursor(snapshot);
        int found = 0;
        for (const QString &name : now) {
            // A name may go unrecognised, to be matched among the names later, but never mistaken.
            const qsizetype entry = cursor.find(name.toUtf8());
            if (entry >= 0) {
                QCOMPARE(snapshot.rawName(entry), QByteArrayView(name.toUtf8()));
                ++found;
            }
        }
        QVERIFY2(found >= leastFound, qPrintable(QString::number(found)));
        QCOMPARE(cursor.metAllInOrder(), inOrder);
    }

    void reread_data()
    {
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<bool>("sameList");
        QTest::newRow("nothing changed") << QStringList {} << QStringList {} << true;
        QTest::newRow("one came") << QStringList {} << QStringList { "m.plt" } << false;
        QTest::newRow("one went") << QStringList { "f00010.plt" } << QStringList {} << false;
        QTest::newRow("many went") << numberedNames(60).mid(10, 40) << QStringList {} << false;
        QTest::newRow("case twin came") << QStringList {} << QStringList { "F00002.PLT" } << false;
        QTest::newRow("renamed") << QStringList { "f00004.plt" } << QStringList { "g.plt" } << false;
        QTest::newRow("hidden and refused files came")
            << QStringList {} << QStringList { ".f.plt", "notes.txt" } << false;
        QTest::newRow("all replaced") << numberedNames(60) << QStringList { "x.plt", "y.plt" } << false;
    }
    void reread()
    {
        QFETCH(QStringList, removed);
        QFETCH(QStringList, added);
        QFETCH(bool, sameList);
        QTemporaryDir dir;
        makeFiles(dir.path(), numberedNames(60));
        const FilePattern pattern(QStringLiteral("*.plt"));
        const auto accept = [&pattern](QStringView folded) { return pattern.matchesFolded(folded); };
        const auto reread = [&](DirectorySnapshot &snapshot) {
            return DirectoryReader::reread(dir.path(), DirectoryReader::EntryKind::Files, accept, snapshot);
        };
        DirectorySnapshot snapshot;
        const DirectoryListing before = reread(snapshot);
        QCOMPARE(before.names.size(), 30);

        for (const QString &name : removed)
            QVERIFY(QFile::remove(dir.filePath(name)));
        makeFiles(dir.path(), added);
        const DirectoryListing now = reread(snapshot);
        QVERIFY(now.isRead());
        QCOMPARE(
            now.names, DirectoryReader::read(dir.path(), DirectoryReader::EntryKind::Files, accept).names);
        QCOMPARE(now.names.constData() == before.names.constData(), sameList);
        if (sameList) {
            QVERIFY(now.rowOfEarlier.empty());
        } else {
            QCOMPARE(now.rowOfEarlier.size(), size_t(before.names.size()));
            for (qsizetype row = 0; row < before.names.size(); ++row)
                QCOMPARE(now.rowOfEarlier[size_t(row)], now.names.indexOf(before.names.at(row)));
        }

        // The snapshot now holds this reading, rows and all.
        const DirectoryListing again = reread(snapshot);
        QVERIFY(again.names.constData() == now.names.constData());
        QVERIFY(again.rowOfEarlier.empty());
        makeFiles(dir.path(), { "f00031.plt" });
        const DirectoryListing later = reread(snapshot);
        QCOMPARE(
            later.names, DirectoryReader::read(dir.path(), DirectoryReader::EntryKind::Files, accept).names);
        for (qsizetype row = 0; row < now.names.size(); ++row)
            QCOMPARE(later.rowOfEarlier[size_t(row)], later.names.indexOf(now.names.at(row)));
    }

    void rereadWhenTheLastEntriesWent()
    {
        // Every entry comes in the snapshot's order, but the snapshot held one more at its end.
        QTemporaryDir dir;
        makeFiles(dir.path(), { "b.plt", "c.plt", "a.plt" });
        DirectorySnapshot real;
        const auto reread = [&](DirectorySnapshot &snapshot) {
            return DirectoryReader::reread(dir.path(), DirectoryReader::EntryKind::Files, {}, snapshot);
        };
        const QStringList names = reread(real).names;
        DirectorySnapshot longer;
        longer.addEntries(real, real.entryCount());
        longer.addEntry("z.plt", names.size());
        longer.setNames(names + QStringList { "z.plt" });

        const DirectoryListing listing = reread(longer);
        QCOMPARE(listing.names, names);
        QCOMPARE(listing.rowOfEarlier, (std::vector<qsizetype> { 0, 1, 2, -1 }));
        QCOMPARE(longer.entryCount(), 3);
        QVERIFY(reread(longer).names.constData() == listing.names.constData());
    }

    void rereadAfterAFailure()
    {
        QTemporaryDir parent;
        const QString path = parent.filePath("plots");
        QVERIFY(QDir().mkdir(path));
        makeFiles(path, { "a.plt", "b.plt" });
        DirectorySnapshot snapshot;
        const auto reread
            = [&] { return DirectoryReader::reread(path, DirectoryReader::EntryKind::Files, {}, snapshot); };
        QCOMPARE(reread().names, (QStringList { "a.plt", "b.plt" }));

        QVERIFY(QDir().rename(path, parent.filePath("away")));
        const DirectoryListing failed = reread();
        QVERIFY(!failed.isRead());
        QVERIFY(failed.names.isEmpty());
        QVERIFY(failed.rowOfEarlier.empty());

        QVERIFY(QDir().rename(parent.filePath("away"), path));
        const DirectoryListing back = reread();
        QCOMPARE(back.names, (QStringList { "a.plt", "b.plt" }));
        QVERIFY(back.rowOfEarlier.empty()); // nothing is carried over the failure
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
