#include "Form1Fixture.h"
#include "tarnwick/app/FileArguments.h"
#include "tarnwick/automation/AutomationRegistry.h"
#include "tarnwick/base/AccessKeys.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/FileList.h"
#include "tarnwick/browse/PrintList.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

void writeSettings(const QString &file, const QByteArray &contents)
{
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(contents);
}

QByteArray readAll(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_Form1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QApplication::closeAllWindows();
        const auto anyVisible = [] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            return std::any_of(windows.cbegin(), windows.cend(), [](QWidget *w) { return w->isVisible(); });
        };
        QTRY_VERIFY(!anyVisible());
    }

    void firstStart()
    {
        Form1Fixture f;
        Form1 &form = f.start();
        QVERIFY(f.loaded);
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(QFileInfo::exists(f.env.settingsFile()));
        QCOMPARE(QFileInfo(f.env.settingsFile()).size(), 0);
        QCOMPARE(form.defaultDirectory(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(f.control<DirList>("Dir1")->path(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(f.control<FileList>("File1")->path(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("0"));
        QCOMPARE(f.control<QLineEdit>("Text1")->text(), QStringLiteral("*.plt"));
        QVERIFY(f.control<QRadioButton>("optColor")->isChecked());
        QCOMPARE(form.colourMode(), PlotViewer::ColourModeNumber::Colour);
        QVERIFY(!f.control<QCheckBox>("chkActSze")->isChecked());
        QVERIFY(form.holdsPlotServer());
        QCOMPARE(f.server->log().liveServers, 1);
        QVERIFY(f.server->log().calls.isEmpty());

        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), f.control<QPushButton>("cmdPrint"));
    }

    void startAtStoredDirectory()
    {
        Form1Fixture f;
        const QString plots = f.env.makeDirectory(QStringLiteral("plots"));
        f.env.makeFile(QStringLiteral("plots/a.plt"));
        f.env.makeFile(QStringLiteral("plots/notes.txt"));
        writeSettings(f.env.settingsFile(), "[UserSettings]\r\nDefault_Dir=" + plots.toUtf8() + "\r\n");
        Form1 &form = f.start();
        QVERIFY(f.loaded);
        QCOMPARE(form.defaultDirectory(), plots);
        QCOMPARE(f.control<DirList>("Dir1")->path(), plots);
        auto *files = f.control<FileList>("File1");
        QCOMPARE(files->path(), plots);
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->entry(0), QStringLiteral("a.plt"));
    }

    void staleDirectoryOpensAtTheRoot()
    {
        Form1Fixture f;
        const QString gone = f.env.scratch() + QStringLiteral("/gone");
        writeSettings(f.env.settingsFile(), "[UserSettings]\nDefault_Dir=" + gone.toUtf8() + "\n");
        f.start();
        QVERIFY(f.loaded);
        QCOMPARE(f.boxes.count(), 1);
        QCOMPARE(f.boxes.seen().first().icon, QMessageBox::Warning);
        QVERIFY(f.boxes.seen().first().text.contains(gone));
        QCOMPARE(f.control<DirList>("Dir1")->path(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(f.exitCode, -1);
        QVERIFY(f.form->holdsPlotServer());
    }

    void settingsWithoutDirectoryOpenWhereStarted()
    {
        Form1Fixture f;
        writeSettings(f.env.settingsFile(), "[UserSettings]\n");
        const QString here = f.env.makeDirectory(QStringLiteral("started-here"));
        const QString saved = QDir::currentPath();
        QDir::setCurrent(here);
        f.start();
        QDir::setCurrent(saved);
        QVERIFY(f.loaded);
        QCOMPARE(f.form->defaultDirectory(), QString());
        QCOMPARE(f.control<DirList>("Dir1")->path(), here);
        QCOMPARE(f.boxes.count(), 0);
    }

    void commandLineFilesGoToThePrintList()
    {
        Form1Fixture f;
        f.start();
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        const QString a = f.env.makeFile("plots/a.plt");
        const QString b = f.env.makeFile("plots/b.plt");
        const QString plots = f.env.makeDirectory("plots");
        f.form->addFileArguments(FileArguments::sort({ "a.plt", "gone.plt", b, "--", "a.plt", "." }, plots));

        QCOMPARE(f.control<PrintList>("List1")->entries(), (QStringList { a, b, a }));
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("3"));
        QTRY_COMPARE(f.boxes.count(), 1);
        const SeenMessageBox box = f.boxes.seen().first();
        QCOMPARE(box.title, QStringLiteral("Tarnwick"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.text,
            "These files were not added to the print list:\n" + plots + "/gone.plt: does not exist\n" + plots
                + ": is a folder");

        // "Add to List" goes on from there.
        QVERIFY(f.control<DirList>("Dir1")->setPath(plots));
        f.control<QPushButton>("cmdAll")->click();
        f.control<QPushButton>("cmdAddList")->click();
        QCOMPARE(f.control<PrintList>("List1")->entries(), (QStringList { a, b, a, a, b }));
        QCOMPARE(f.control<QLineEdit>("txtCount")->text(), QStringLiteral("5"));
        QCOMPARE(f.boxes.count(), 1);
    }

    void failedStartEndsTheProgram_data()
    {
        QTest::addColumn<bool>("serverInstalled");
        QTest::addColumn<bool>("appDirWritable");
        QTest::addColumn<QString>("message");
        QTest::newRow("no plot server")
            << false << true << QStringLiteral("\"Plotviewer.application\" is not installed");
        QTest::newRow("settings file cannot be created")
            << true << false << QStringLiteral("tarnwick.ini\" cannot be created");
    }
    void failedStartEndsTheProgram()
    {
        QFETCH(bool, serverInstalled);
        QFETCH(bool, appDirWritable);
        QFETCH(QString, message);
        Form1Fixture f;
        if (!serverInstalled)
            f.server.reset();
        AutomationRegistry &registry = AutomationRegistry::instance();
        const QStringList folders = registry.searchFolders();
        registry.setSearchFolders({ f.env.makeDirectory(QStringLiteral("servers")) });
        const AppEnvironment environment
            = appDirWritable ? f.env.environment() : f.env.environmentIn(QStringLiteral("missing"));
        Form1 form(environment, f.guard);
        const bool loaded = form.load();
        registry.setSearchFolders(folders);

        QVERIFY(!loaded);
        QVERIFY(!form.isVisible());
        QCOMPARE(f.boxes.count(), 1);
        QCOMPARE(f.boxes.seen().first().icon, QMessageBox::Critical);
        QVERIFY2(f.boxes.seen().first().text.contains(message), qPrintable(f.boxes.seen().first().text));
        QCOMPARE(f.exitCode, 1);
        QVERIFY(f.guard.hasEnded());
    }

    void defaultButton_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("directories");
        QTest::addColumn<QString>("stored");
        QTest::newRow("creates the file")
            << QByteArray() << QStringList { QStringLiteral("a") } << QStringLiteral("a");
        QTest::newRow("second press replaces")
            << QByteArray() << QStringList { QStringLiteral("a"), QStringLiteral("b") }
            << QStringLiteral("b");
        QTest::newRow("root keeps its separator")
            << QByteArray() << QStringList { QStringLiteral("/") } << QStringLiteral("/");
        QTest::newRow("other settings kept")
            << QByteArray("[Mine]\nx=1\n") << QStringList { QStringLiteral("a") } << QStringLiteral("a");
    }
    void defaultButton()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, directories);
        QFETCH(QString, stored);
        Form1Fixture f;
        f.start();
        QFile::remove(f.env.settingsFile());
        if (!before.isEmpty())
            writeSettings(f.env.settingsFile(), before);
        QString expected;
        for (const QString &directory : directories) {
            const QString path = directory == u'/' ? QDir::rootPath() : f.env.makeDirectory(directory);
            QVERIFY(f.control<DirList>("Dir1")->setPath(path));
            expected = f.control<DirList>("Dir1")->path();
            QTest::mouseClick(f.control<QPushButton>("cmdDflt"), Qt::LeftButton);
        }
        if (stored == u'/')
            QCOMPARE(expected, QDir::toNativeSeparators(QDir::rootPath()));
        const QByteArray line = "Default_Dir=" + expected.toUtf8() + '\n';
        QCOMPARE(readAll(f.env.settingsFile()), before + "[UserSettings]\n" + line);
        // The running program does not move.
        QCOMPARE(f.form->defaultDirectory(), QDir::toNativeSeparators(QDir::rootPath()));
        QCOMPARE(f.boxes.count(), 0);
    }

    void defaultButtonFailsSilently()
    {
        Form1Fixture f;
        f.start();
        // The button is bound: a first press stores the directory shown.
        const QString first = f.env.makeDirectory(QStringLiteral("first"));
        QVERIFY(f.control<DirList>("Dir1")->setPath(first));
        QTest::mouseClick(f.control<QPushButton>("cmdDflt"), Qt::LeftButton);
        QVERIFY(readAll(f.env.settingsFile()).contains("Default_Dir=" + first.toUtf8()));
        // A folder in the settings file's place can be neither read nor made: the next press fails,
        // and says nothing.
        QVERIFY(QFile::remove(f.env.settingsFile()));
        QVERIFY(QDir().mkpath(f.env.settingsFile()));
        QVERIFY(f.control<DirList>("Dir1")->setPath(f.env.makeDirectory(QStringLiteral("second"))));
        QTest::mouseClick(f.control<QPushButton>("cmdDflt"), Qt::LeftButton);
        QCOMPARE(f.boxes.count(), 0);
        QVERIFY(!f.guard.hasEnded());
        QVERIFY(QFileInfo(f.env.settingsFile()).isDir());
    }

    void windowCannotBeResized()
    {
        Form1Fixture f;
        Form1 &form = f.start();
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(form.size(), QSize(692, 397)); // 10387 x 5954 twips at 96 DPI
        QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tarnwick"));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QRect>("geometry"); // at 96 DPI
        QTest::addColumn<QString>("label");
        QTest::newRow("cmdPrint") << "cmdPrint"
                                  << "Print List" << QRect(343, 226, 67, 25) << QString();
        QTest::newRow("File1") << "File1"
                               << "Files" << QRect(164, 48, 177, 345) << "Label2";
        QTest::newRow("Dir1") << "Dir1"
                              << "Directory" << QRect(8, 49, 154, 241) << "Label1";
        QTest::newRow("Drive1") << "Drive1"
                                << "Drive" << QRect(47, 8, 295, 19) << "D";
        QTest::newRow("Text1") << "Text1"
                               << "Show type" << QRect(281, 31, 58, 16) << "Label3";
        QTest::newRow("List1") << "List1"
                               << "Print list" << QRect(413, 31, 270, 355) << "Label4";
        QTest::newRow("txtCount") << "txtCount"
                                  << "File count" << QRect(616, 8, 71, 16) << "lblCount";
        QTest::newRow("optBandW") << "optBandW"
                                  << "B&W" << QRect(16, 31, 48, 25) << QString();
        QTest::newRow("cmdPrintSet") << "cmdPrintSet"
                                     << "Print Setup..." << QRect(78, 328, 73, 25) << QString();
        QTest::newRow("chkActSze") << "chkActSze"
                                   << "Actual size" << QRect(86, 367, 66, 17) << QString();
        QTest::newRow("cmdDflt") << "cmdDflt"
                                 << "Default" << QRect(8, 289, 50, 21) << QString();
        QTest::newRow("cmdAbout") << "cmdAbout"
                                  << "About" << QRect(351, 374, 50, 22) << QString();
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, spoken);
        QFETCH(QRect, geometry);
        QFETCH(QString, label);
        Form1Fixture f;
        f.create();
        auto *control = f.form->findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->accessibleName(), spoken);
        QCOMPARE(control->geometry(), geometry);
        if (!label.isEmpty())
            QCOMPARE(f.form->findChild<QLabel *>(label)->buddy(), control);
    }

    void onlyTwoTooltips()
    {
        Form1Fixture f;
        f.create();
        QStringList tips;
        for (QWidget *widget : f.form->findChildren<QWidget *>()) {
            if (!widget->toolTip().isEmpty())
                tips.append(widget->objectName() + u'=' + widget->toolTip());
        }
        tips.sort();
        QCOMPARE(tips,
            (QStringList { QStringLiteral("File1='Dbl Click' to preview"),
                QStringLiteral("cmdDflt=Set default directory") }));
    }

    void tabOrder()
    {
        Form1Fixture f;
        f.create();
        const QStringList expected { "cmdPrint", "File1", "cmdAllPlt", "Dir1", "Drive1", "Text1", "List1",
            "cmdAddList", "cmdAll", "cmdRem", "cmdClear", "optColor", "optBandW", "optGrey", "cmdPrintSet",
            "chkActSze", "txtCount", "cmdDflt", "cmdAbout" };
        QWidget *widget = f.control<QWidget>("cmdPrint");
        QStringList order;
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                order.append(widget->objectName());
            widget = widget->nextInFocusChain();
        } while (widget != f.control<QWidget>("cmdPrint"));
        order.removeIf([&](const QString &name) { return !expected.contains(name); });
        QCOMPARE(order, expected);
    }

    void accessKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        for (const auto &[name, caption] : std::initializer_list<std::pair<const char *, const char *>> {
                 { "cmdPrint", "&Print List" }, { "cmdAllPlt", "Sel&ect *.plt" },
                 { "cmdAddList", "&Add to List" }, { "cmdAll", "&Select All" }, { "cmdRem", "&Remove" },
                 { "cmdClear", "&Clear List" }, { "optColor", "C&olor" }, { "optBandW", "&B&&W" },
                 { "optGrey", "&Grey Scale" }, { "cmdPrintSet", "Pr&int Setup..." },
                 { "chkActSze", "Ac&tual size" }, { "cmdDflt", "Default" }, { "cmdAbout", "About" } })
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
    }
    void accessKeys()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        Form1Fixture f;
        f.create();
        auto *button = f.form->findChild<QAbstractButton *>(name);
        QCOMPARE(button->text(), caption);
        // No caption may be clipped: the text with the style's margins or indicator fits the control.
        const QString text = withoutAccessKeys(caption);
        const int needed = button->fontMetrics().horizontalAdvance(text);
        QStyle *style = button->style();
        int required = needed + 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        if (!qobject_cast<QPushButton *>(button)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const bool radio = qobject_cast<QRadioButton *>(button);
            required = style
                           ->sizeFromContents(radio ? QStyle::CT_RadioButton : QStyle::CT_CheckBox, &option,
                               QSize(needed, button->fontMetrics().height()), button)
                           .width();
        }
        QVERIFY2(required <= button->width(),
            qPrintable(
                QStringLiteral("%1 needs %2 px, has %3").arg(name).arg(required).arg(button->width())));
    }

    void labelsAreNotClipped()
    {
        Form1Fixture f;
        f.create();
        for (QLabel *label : f.form->findChildren<QLabel *>()) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                qPrintable(label->objectName()));
        }
    }
};

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
