#include "BrowseTestHelpers.h"
#include "Form1Fixture.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/DriveList.h"
#include "tarnwick/browse/FileList.h"
#include "tarnwick/browse/PrintList.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

namespace {

/// Fake volumes that can also claim to enter any volume, to reach the failure after entering.
class EnteringVolumes : public FakeVolumes
{
public:
    bool entersEverything = false;
    bool makeCurrent(const QString &rootPath, QString *error) override
    {
        return entersEverything || FakeVolumes::makeCurrent(rootPath, error);
    }
};

/// The browsing controls of a main window.
struct Browser
{
    explicit Browser(const QWidget &form)
        : drives(form.findChild<DriveList *>("Drive1"))
        , directories(form.findChild<DirList *>("Dir1"))
        , files(form.findChild<FileList *>("File1"))
        , pattern(form.findChild<QLineEdit *>("Text1"))
        , printList(form.findChild<PrintList *>("List1"))
        , countBox(form.findChild<QLineEdit *>("txtCount"))
        , m_form(form)
    { }

    void click(const char *button) const
    {
        QTest::mouseClick(m_form.findChild<QPushButton *>(button), Qt::LeftButton);
    }
    /// Picks the volume with this root in the drive list, as the user does.
    void pickDrive(const QString &root) const
    {
        for (int i = 0; i < drives->count(); ++i) {
            if (drives->itemText(i).startsWith(root))
                drives->setCurrentIndex(i);
        }
    }
    /// Replaces the count box's text by typing, as the user does.
    void typeInto(QLineEdit *box, const QString &text) const
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }

    DriveList *drives;
    DirList *directories;
    FileList *files;
    QLineEdit *pattern;
    PrintList *printList;
    QLineEdit *countBox;

private:
    const QWidget &m_form;
};

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

/// Starts a main window whose directory list shows a fresh directory holding `files`; its path.
QString startInDirectory(Form1Fixture &f, const QStringList &files)
{
    const QString directory = f.env.makeDirectory("plots");
    makeFiles(directory, files);
    f.start();
    f.form->findChild<DirList *>("Dir1")->setPath(directory);
    return directory;
}

} // namespace

class tst_BrowseHandlers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_startDirectory = QDir::currentPath(); }
    void cleanup()
    {
        QDir::setCurrent(m_startDirectory); // changing the drive moves the process
        QApplication::closeAllWindows();
    }

    void driveNotReady_data()
    {
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("rootIsDirectory");
        QTest::addColumn<bool>("entersEverything");
        QTest::newRow("volume not ready") << false << true << false;
        QTest::newRow("volume root gone") << true << false << false;
        QTest::newRow("entered but cannot be listed") << true << false << true;
    }
    void driveNotReady()
    {
        QFETCH(bool, ready);
        QFETCH(bool, rootIsDirectory);
        QFETCH(bool, entersEverything);
        Form1Fixture f;
        const QString data = f.env.makeDirectory("data");
        const QString plots = f.env.makeDirectory("data/plots");
        makeFiles(plots, { "a.plt" });
        const QString offline = rootIsDirectory ? f.env.makeDirectory("offline") : f.env.makeFile("offline");
        auto volumes = std::make_shared<EnteringVolumes>();
        volumes->list = f.env.volumes().list;
        volumes->list += { { data, "Data", true }, { offline, "Offline", ready } };
        AppEnvironment environment = f.env.environment();
        environment.volumes = volumes;
        Form1 form(environment, f.guard);
        QVERIFY(form.load());
        const Browser browser(form);

        browser.pickDrive(data);
        QVERIFY(browser.directories->setPath(plots));
        QCOMPARE(f.boxes.count(), 0);
        const QString current = QDir::currentPath();
        volumes->entersEverything = entersEverything;
        QSignalSpy driveChanges(browser.drives, &DriveList::driveChanged);
        browser.pickDrive(offline);

        QCOMPARE(f.boxes.count(), 1);
        const SeenMessageBox &box = f.boxes.seen().first();
        QCOMPARE(box.title, QStringLiteral("Dive Not Ready"));
        QCOMPARE(box.text, QStringLiteral("Selected drive is not ready"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // The previous drive is the one holding the directory list's path, put back once.
        QCOMPARE(browser.drives->drive(), data);
        QCOMPARE(driveChanges.count(), 2);
        QCOMPARE(browser.directories->path(), plots);
        QCOMPARE(browser.files->path(), plots);
        QCOMPARE(browser.files->entries(), QStringList { "a.plt" });
        QCOMPARE(QDir::currentPath(), current);
        QVERIFY(!f.guard.hasEnded());
    }

    void readyDriveMovesTheLists()
    {
        Form1Fixture f;
        const QString data = f.env.makeDirectory("data");
        makeFiles(data, { "a.plt", "b.txt" });
        f.env.volumes().list += { { data, "Data", true }, { f.env.makeDirectory("other"), {}, true } };
        f.start();
        const Browser browser(*f.form);
        QCOMPARE(browser.drives->count(), 3);
        QCOMPARE(browser.drives->itemText(1), data + "  [Data]");
        QCOMPARE(browser.drives->itemText(2), f.env.scratch() + "/other");

        browser.pickDrive(data);
        QCOMPARE(f.boxes.count(), 0);
        QCOMPARE(browser.drives->drive(), data);
        QCOMPARE(browser.directories->path(), data);
        QCOMPARE(browser.files->path(), data);
        QCOMPARE(browser.files->entries(), QStringList { "a.plt" });
        QCOMPARE(QDir::currentPath(), data);
    }

    void droppingDownRereadsVolumes()
    {
        Form1Fixture f;
        f.start();
        const Browser browser(*f.form);
        const QString drive = browser.drives->drive();
        QSignalSpy driveChanges(browser.drives, &DriveList::driveChanged);
        f.env.volumes().list.append({ f.env.makeDirectory("stick"), "Stick", true });
        browser.drives->showPopup();
        browser.drives->hidePopup();
        QCOMPARE(browser.drives->count(), 2);
        QCOMPARE(browser.drives->drive(), drive);
        QCOMPARE(driveChanges.count(), 0);
    }

    void fileListFollowsDirectoryList()
    {
        Form1Fixture f;
        const QString top = f.env.makeDirectory("top");
        const QString sub = f.env.makeDirectory("top/sub");
        makeFiles(top, { "top.plt" });
        makeFiles(sub, { "sub.plt" });
        f.start();
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        const Browser browser(*f.form);
        DirList &directories = *browser.directories;

        QVERIFY(directories.setPath(top));
        QCOMPARE(browser.files->path(), top);
        QCOMPARE(browser.files->entries(), QStringList { "top.plt" });

        const auto rowOf = [&](const QString &name) {
            return directories.model()
                ->match(directories.model()->index(0, 0), Qt::DisplayRole, name)
                .value(0);
        };
        directories.setCurrentIndex(rowOf("sub"));
        QTest::keyClick(&directories, Qt::Key_Return);
        QCOMPARE(browser.files->path(), sub);
        QCOMPARE(browser.files->entries(), QStringList { "sub.plt" });

        doubleClick(directories, rowOf("top"));
        QCOMPARE(browser.files->path(), top);

        QVERIFY(!directories.setPath(top + "/missing"));
        QCOMPARE(browser.files->path(), top);
        QCOMPARE(f.boxes.count(), 0);
    }

    void patternOnlyOnEnter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("text files") << "*.txt" << QStringList { "b.txt" };
        QTest::newRow("blanks and case kept") << " *.TXT ; " << QStringList { "b.txt" };
        QTest::newRow("list") << "*.plt;*.txt" << QStringList { "[x]y.plt", "a.plt", "b.txt" };
        QTest::newRow("brackets") << "[x]*" << QStringList { "[x]y.plt" };
        QTest::newRow("empty") << "" << QStringList { "[x]y.plt", "a.plt", "b.txt" };
    }
    void patternOnlyOnEnter()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, entries);
        Form1Fixture f;
        startInDirectory(f, { "a.plt", "b.txt", "[x]y.plt" });
        const Browser browser(*f.form);
        const QStringList before = browser.files->entries();
        QCOMPARE(before, (QStringList { "[x]y.plt", "a.plt" }));

        browser.typeInto(browser.pattern, typed);
        QTest::keyClick(browser.pattern, Qt::Key_Escape);
        QTest::keyClick(browser.pattern, Qt::Key_Tab);
        QCOMPARE(browser.files->pattern(), QStringLiteral("*.plt"));
        QCOMPARE(browser.files->entries(), before);

        QTest::keyClick(browser.pattern, Qt::Key_Return);
        QCOMPARE(browser.files->pattern(), typed);
        QCOMPARE(browser.files->entries(), entries);
    }

    void selectAllDoesNotReread()
    {
        Form1Fixture f;
        const QString directory = startInDirectory(f, { "a.plt", "b.plt" });
        const Browser browser(*f.form);
        makeFiles(directory, { "c.plt" });
        browser.click("cmdAll");
        QCOMPARE(selectedEntries(*browser.files), (QStringList { "a.plt", "b.plt" }));
    }

    void selectPlotFiles()
    {
        Form1Fixture f;
        // ".plt" would match too, but dot files are hidden from the list.
        const QString directory
            = startInDirectory(f, { "a.plt", "B.PLT", "x.Plt", "a.b.plt", "readme", "abc." });
        const Browser browser(*f.form);
        browser.files->setPattern("*");
        browser.files->setSelected(browser.files->entries().indexOf("readme"), true);
        makeFiles(directory, { "new.plt" });

        browser.click("cmdAllPlt");
        QCOMPARE(browser.files->entries(),
            (QStringList { "a.b.plt", "a.plt", "abc.", "B.PLT", "new.plt", "readme", "x.Plt" }));
        QCOMPARE(selectedEntries(*browser.files), (QStringList { "a.plt", "B.PLT", "new.plt", "readme" }));
    }

    void addToList()
    {
        Form1Fixture f;
        const QString directory = startInDirectory(f, { "a.plt", "b.plt", "c.plt" });
        const Browser browser(*f.form);
        const auto path = [&](const char *name) { return native(directory + u'/' + QLatin1String(name)); };

        browser.typeInto(browser.countBox, "many");
        browser.click("cmdAddList");
        QCOMPARE(browser.printList->count(), 0);
        QCOMPARE(browser.countBox->text(), QStringLiteral("0"));

        browser.files->selectRows({ 2, 0 });
        browser.click("cmdAddList");
        QCOMPARE(browser.printList->entries(), (QStringList { path("a.plt"), path("c.plt") }));
        QCOMPARE(browser.countBox->text(), QStringLiteral("2"));

        browser.files->clearSelection();
        browser.files->setSelected(1, true);
        browser.click("cmdAddList");
        browser.click("cmdAddList");
        QCOMPARE(browser.printList->entries(),
            (QStringList { path("a.plt"), path("c.plt"), path("b.plt"), path("b.plt") }));
        QCOMPARE(browser.countBox->text(), QStringLiteral("4"));
    }

    void removeFromList_data()
    {
        QTest::addColumn<QList<qsizetype>>("selected");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("first, second and fourth of five")
            << QList<qsizetype> { 0, 1, 3 } << QStringList { "e2", "e4" };
        QTest::newRow("a run in the middle") << QList<qsizetype> { 1, 2, 3 } << QStringList { "e0", "e4" };
        QTest::newRow("last") << QList<qsizetype> { 4 } << QStringList { "e0", "e1", "e2", "e3" };
        QTest::newRow("all") << QList<qsizetype> { 0, 1, 2, 3, 4 } << QStringList {};
        QTest::newRow("none") << QList<qsizetype> {} << QStringList { "e0", "e1", "e2", "e3", "e4" };
    }
    void removeFromList()
    {
        QFETCH(QList<qsizetype>, selected);
        QFETCH(QStringList, kept);
        Form1Fixture f;
        f.start();
        const Browser browser(*f.form);
        browser.printList->append({ "e0", "e1", "e2", "e3", "e4" });
        browser.printList->selectRows(selected);
        browser.typeInto(browser.countBox, "12x");
        browser.click("cmdRem");
        QCOMPARE(browser.printList->entries(), kept);
        QCOMPARE(browser.countBox->text(), QString::number(kept.size()));
    }

    void clearList()
    {
        Form1Fixture f;
        f.start();
        const Browser browser(*f.form);
        browser.printList->append({ "e0", "e0" });
        browser.typeInto(browser.countBox, "2");
        browser.click("cmdClear");
        QCOMPARE(browser.printList->count(), 0);
        QCOMPARE(browser.countBox->text(), QStringLiteral("0"));
    }

    void vanishedDirectory()
    {
        Form1Fixture f;
        const QString directory = startInDirectory(f, { "a.plt" });
        const Browser browser(*f.form);
        QCOMPARE(browser.files->count(), 1);
        QVERIFY(QDir(directory).removeRecursively());
        for (const char *button : { "cmdAllPlt", "cmdAll", "cmdAddList" })
            browser.click(button);
        QCOMPARE(browser.files->count(), 0);
        QCOMPARE(browser.printList->count(), 0);
        QCOMPARE(browser.countBox->text(), QStringLiteral("0"));
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(!f.guard.hasEnded());
    }

    void largeLists()
    {
        // Far beyond the 32 767 entries a 16-bit count could hold.
        Form1Fixture f;
        const QStringList names = numberedNames(40'000);
        const QString directory = startInDirectory(f, names);
        const Browser browser(*f.form);
        browser.files->setPattern("*");
        QCOMPARE(browser.files->entries(), names);

        browser.click("cmdAllPlt");
        browser.click("cmdAddList");
        QCOMPARE(browser.countBox->text(), QStringLiteral("20000"));
        QCOMPARE(browser.printList->entry(19'999), native(directory + "/" + names.at(39'998)));
        browser.click("cmdAll");
        browser.click("cmdAddList");
        QCOMPARE(browser.countBox->text(), QStringLiteral("60000"));
        QCOMPARE(browser.printList->entry(59'999), native(directory + "/" + names.last()));

        QList<qsizetype> everyOther;
        QStringList kept;
        for (qsizetype row = 0; row < browser.printList->count(); ++row) {
            if (row % 2)
                kept.append(browser.printList->entry(row));
            else
                everyOther.append(row);
        }
        browser.printList->selectRows(everyOther);
        browser.click("cmdRem");
        QCOMPARE(browser.countBox->text(), QStringLiteral("30000"));
        QCOMPARE(browser.printList->entries(), kept);
        browser.click("cmdClear");
        QCOMPARE(browser.countBox->text(), QStringLiteral("0"));
    }

private:
    QString m_startDirectory;
};

QTEST_MAIN(tst_BrowseHandlers)
#include "tst_browsehandlers.moc"
