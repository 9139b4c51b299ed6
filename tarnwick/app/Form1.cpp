#include "tarnwick/app/Form1.h"

#include "resources/VersionRecord.h"
#include "tarnwick/about/Form3.h"
#include "tarnwick/app/Global.h"
#include "tarnwick/app/Shutdown.h"
#include "tarnwick/automation/AutomationError.h"
#include "tarnwick/base/AccessKeys.h"
#include "tarnwick/base/AppIcon.h"
#include "tarnwick/base/FileSystem.h"
#include "tarnwick/base/RuntimeError.h"
#include "tarnwick/base/Twips.h"
#include "tarnwick/base/UiFonts.h"
#include "tarnwick/base/WindowFlags.h"
#include "tarnwick/browse/BrowseCommands.h"
#include "tarnwick/browse/DirList.h"
#include "tarnwick/browse/DriveList.h"
#include "tarnwick/browse/FileList.h"
#include "tarnwick/browse/PrintList.h"
#include "tarnwick/plot/Form2.h"
#include "tarnwick/plot/Preview.h"
#include "tarnwick/plot/PrintProgressDialog.h"
#include "tarnwick/plot/PrintRun.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

const QString SettingsSection = QStringLiteral("UserSettings");
const QString DefaultDirKey = QStringLiteral("Default_Dir");

constexpr int EnterKeyAscii = 13;

int keyAscii(const QKeyEvent &event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return EnterKeyAscii;
    return event.text().isEmpty() ? 0 : event.text().front().unicode();
}

} // namespace

Form1::Form1(const AppEnvironment &environment, HandlerGuard &guard, QWidget *parent)
    : QWidget(parent, fixedBorderWindow(Qt::Window) | Qt::WindowMinimizeButtonHint)
    , m_environment(environment)
    , m_guard(guard)
    , m_plotServer(environment.settingsFile())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(VersionRecord::Title));
    setWindowIcon(AppIcon::icon());
    setFont(UiFonts::tahoma(UiFonts::WindowPoints));
    setFixedSize(Twips(*this).size(10387, 5954));
    createControls();
    orderTabs();
    bindEvents();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    const Twips twips(*this);
    const QFont controlFont = UiFonts::tahoma(UiFonts::ControlPoints);
    const QFont windowFont = UiFonts::tahoma(UiFonts::WindowPoints);
    const QFont formsButtonFont = UiFonts::tahoma(UiFonts::FormsButtonPoints);

    const auto place = [&](QWidget *control, const char *name, const QFont &font, QRect geometry,
                           const QString &spokenName) {
        control->setObjectName(QLatin1String(name));
        control->setFont(font);
        control->setGeometry(geometry);
        control->setAccessibleName(spokenName);
    };
    const auto button = [&](const char *name, const QString &caption, const QFont &font, QRect geometry) {
        auto *control = new QPushButton(caption, this);
        control->setAutoDefault(false);
        place(control, name, font, geometry, withoutAccessKeys(caption));
        return control;
    };
    const auto label = [&](const char *name, const QString &text, const QFont &font, QRect geometry) {
        auto *control = new QLabel(text, this);
        place(control, name, font, geometry, text);
        return control;
    };
    const auto labelled
        = [&](QWidget *control, const char *name, const QFont &font, QRect geometry, QLabel *caption) {
              QString spoken = caption->text();
              spoken.chop(spoken.endsWith(u':') ? 1 : 0);
              place(control, name, font, geometry, spoken);
              caption->setBuddy(control);
          };

    cmdPrint
        = button("cmdPrint", QStringLiteral("&Print List"), controlFont, twips.rect(5148, 3393, 1000, 375));
    File1 = new FileList(this);
    cmdAllPlt = button(
        "cmdAllPlt", QStringLiteral("Sel&ect *.plt"), controlFont, twips.rect(5148, 1170, 1000, 375));
    Dir1 = new DirList(this);
    Drive1 = new DriveList(m_environment.volumes, this);
    D = label("D", QStringLiteral("Drive:"), controlFont, twips.rect(117, 117, 520, 260));
    Label1 = label("Label1", QStringLiteral("Directory:"), controlFont, twips.rect(117, 481, 754, 260));
    Label2 = label("Label2", QStringLiteral("Files:"), controlFont, twips.rect(2574, 468, 637, 260));
    Label3 = label("Label3", QStringLiteral("Show type:"), windowFont, twips.rect(3393, 468, 871, 260));
    Text1 = new QLineEdit(QStringLiteral("Text1"), this);
    List1 = new PrintList(this);
    cmdAddList = button(
        "cmdAddList", QStringLiteral("&Add to List"), controlFont, twips.rect(5148, 1755, 1000, 375));
    Label4 = label("Label4", QStringLiteral("Print list:"), controlFont, twips.rect(6201, 234, 702, 260));
    cmdAll = button("cmdAll", QStringLiteral("&Select All"), controlFont, twips.rect(5148, 702, 1000, 375));
    cmdRem = button("cmdRem", QStringLiteral("&Remove"), controlFont, twips.rect(5148, 2340, 1000, 375));
    cmdClear
        = button("cmdClear", QStringLiteral("&Clear List"), controlFont, twips.rect(5148, 2808, 1000, 375));
    Frame1 = new QGroupBox(this);
    place(Frame1, "Frame1", controlFont, twips.rect(117, 4680, 2275, 1183), QStringLiteral("Colour mode"));
    const auto option = [&](const char *name, const QString &caption, QRect geometry) {
        auto *control = new QRadioButton(caption, Frame1);
        place(control, name, windowFont, geometry, withoutAccessKeys(caption));
        return control;
    };
    optColor = option("optColor", QStringLiteral("C&olor"), twips.rect(240, 234, 1095, 255));
    optBandW = option("optBandW", QStringLiteral("&B&&W"), twips.rect(234, 468, 715, 375));
    optGrey = option("optGrey", QStringLiteral("&Grey Scale"), twips.rect(234, 819, 1066, 255));
    cmdPrintSet = button(
        "cmdPrintSet", QStringLiteral("Pr&int Setup..."), windowFont, twips.rect(1170, 4914, 1100, 375));
    chkActSze = new QCheckBox(QStringLiteral("Ac&tual size"), this);
    place(chkActSze, "chkActSze", windowFont, twips.rect(1287, 5499, 988, 255),
        withoutAccessKeys(chkActSze->text()));
    lblCount = label("lblCount", QStringLiteral("File count:"), controlFont, twips.rect(8307, 117, 819, 260));
    txtCount = new QLineEdit(QStringLiteral("Text2"), this);
    cmdDflt = button("cmdDflt", QStringLiteral("Default"), formsButtonFont, twips.rect(117, 4329, 754, 320));
    cmdAbout = button("cmdAbout", QStringLiteral("About"), formsButtonFont, twips.rect(5265, 5616, 754, 325));

    labelled(File1, "File1", controlFont, twips.rect(2457, 715, 2652, 5174), Label2);
    labelled(Dir1, "Dir1", controlFont, twips.rect(117, 728, 2314, 3614), Label1);
    labelled(Drive1, "Drive1", controlFont, twips.rect(702, 117, 4420, 286), D);
    labelled(Text1, "Text1", controlFont, twips.rect(4212, 468, 871, 247), Label3);
    labelled(List1, "List1", controlFont, twips.rect(6201, 468, 4056, 5330), Label4);
    labelled(txtCount, "txtCount", controlFont, twips.rect(9243, 117, 1066, 247), lblCount);

    File1->setToolTip(QStringLiteral("'Dbl Click' to preview"));
    cmdDflt->setToolTip(QStringLiteral("Set default directory"));
    QPalette printListColours = List1->palette();
    printListColours.setColor(QPalette::Base, printListColours.color(QPalette::ToolTipBase));
    printListColours.setColor(QPalette::Text, printListColours.color(QPalette::ToolTipText));
    List1->setPalette(printListColours);
}

void Form1::orderTabs()
{
    const QList<QWidget *> order { cmdPrint, File1, cmdAllPlt, Dir1, Drive1, Text1, List1, cmdAddList, cmdAll,
        cmdRem, cmdClear, optColor, optBandW, optGrey, cmdPrintSet, chkActSze, txtCount, cmdDflt, cmdAbout };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

template<typename Sender, typename Signal>
void Form1::bind(Sender *sender, Signal signal, void (Form1::*handler)())
{
    // A handler with a trap of its own arms it around the steps it covers.
    connect(sender, signal, this, [this, handler] { handle(handler); });
}

void Form1::handle(void (Form1::*handler)())
{
    m_guard.run(Trap::None, [this, handler] { (this->*handler)(); });
}

void Form1::handleServerWork(void (Form1::*handler)())
{
    // A second print run asked for while one runs would print the list twice.
    if (handler == &Form1::cmdPrint_Click && m_serverWork.contains(handler))
        return;
    m_serverWork.append(handler);
    if (m_serverWork.size() > 1)
        return;
    while (!m_serverWork.isEmpty()) {
        if (!m_guard.hasEnded())
            handle(m_serverWork.constFirst());
        m_serverWork.removeFirst();
    }
}

void Form1::bindEvents()
{
    bind(Drive1, &DriveList::driveChanged, &Form1::Drive1_Change);
    bind(Dir1, &DirList::pathChanged, &Form1::Dir1_Change);
    Text1->installEventFilter(this);
    bind(cmdAll, &QPushButton::clicked, &Form1::cmdAll_Click);
    bind(cmdAllPlt, &QPushButton::clicked, &Form1::cmdAllPlt_Click);
    bind(cmdAddList, &QPushButton::clicked, &Form1::cmdAddList_Click);
    bind(cmdRem, &QPushButton::clicked, &Form1::cmdRem_Click);
    bind(cmdClear, &QPushButton::clicked, &Form1::cmdClear_Click);
    const auto bindServerWork = [this](auto *sender, auto signal, void (Form1::*handler)()) {
        connect(sender, signal, this, [this, handler] { handleServerWork(handler); });
    };
    bindServerWork(File1, &FileList::entryDoubleClicked, &Form1::File1_DblClick);
    bindServerWork(cmdPrint, &QPushButton::clicked, &Form1::cmdPrint_Click);
    bindServerWork(cmdPrintSet, &QPushButton::clicked, &Form1::cmdPrintSet_Click);
    // An option's click comes with its selection, whether the user or the program selects it.
    const auto onSelected = [this](QRadioButton *option, void (Form1::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, handler](bool selected) {
            if (selected)
                handle(handler);
        });
    };
    onSelected(optColor, &Form1::optColor_Click);
    onSelected(optBandW, &Form1::optBandW_Click);
    onSelected(optGrey, &Form1::optGrey_Click);
    bind(cmdDflt, &QPushButton::clicked, &Form1::cmdDflt_Click);
    bind(cmdAbout, &QPushButton::clicked, &Form1::cmdAbout_Click);
}

bool Form1::load()
{
    handle(&Form1::Form_Load);
    return !m_guard.hasEnded();
}

void Form1::addFileArguments(const FileArguments::Sorted &arguments)
{
    m_guard.run(Trap::None, [this, &arguments] { addToPrintList(arguments.files); });
    if (arguments.leftOut.isEmpty())
        return;
    // Queued, so that the report comes over the window once it is up.
    QTimer::singleShot(0, this, [this, leftOut = arguments.leftOut] {
        m_guard.run(Trap::None, [this, &leftOut] { reportFilesLeftOut(leftOut); });
    });
}

void Form1::reportFilesLeftOut(const QStringList &leftOut)
{
    QMessageBox::warning(
        this, QString::fromUtf8(VersionRecord::Title), FileArguments::leftOutReport(leftOut));
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        cmdPrint->setFocus(Qt::OtherFocusReason);
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    handle(&Form1::Form_Unload);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const int key = keyAscii(*static_cast<QKeyEvent *>(event));
        if (key != 0)
            m_guard.run(Trap::None, [this, key] { Text1_KeyPress(key); });
    }
    return QWidget::eventFilter(watched, event); // the pattern box still receives the key
}

void Form1::Form_Load()
{
    const QString settingsFile = m_environment.settingsFile();
    const QString administratorDefaults = m_environment.defaultSettingsFile();
    // The user's first settings file starts as the administrator's; later writes go to it alone.
    if (!FileSystem::fileExists(settingsFile) && !administratorDefaults.isEmpty()
        && FileSystem::fileExists(administratorDefaults))
        FileSystem::copyFile(administratorDefaults, settingsFile);
    if (FileSystem::fileExists(settingsFile)) {
        m_defaultDirectory = Global::ReadSetting(SettingsSection, DefaultDirKey, QString(), settingsFile);
    } else {
        FileSystem::createTextFile(settingsFile);
        m_defaultDirectory = FileSystem::rootDirectory();
    }
    showCount();
    Text1->setText(File1->pattern());
    m_driveGuard = false;
    optColor->setChecked(true);
    openDefaultDirectory();
    m_plotServer.create();
}

void Form1::openDefaultDirectory()
{
    // A settings file without the key opens where the program was started.
    const QString directory
        = m_defaultDirectory.isEmpty() ? QDir::toNativeSeparators(QDir::currentPath()) : m_defaultDirectory;
    QString reason;
    if (Dir1->setPath(directory, &reason))
        return;
    // A default directory that has gone away must not keep the program from ever starting again.
    const QString root = FileSystem::rootDirectory();
    QMessageBox::warning(this, QString::fromUtf8(VersionRecord::Title),
        QStringLiteral("The default directory \"%1\" cannot be opened: %2\nTarnwick opens at %3 "
                       "instead.")
            .arg(directory, reason, root));
    if (!Dir1->setPath(root, &reason))
        throw RuntimeError(reason);
}

void Form1::Form_Unload()
{
    const QStringList failures = Shutdown::deleteTemporaryFiles(m_environment);
    // The server is released even when a file could not be deleted.
    m_plotServer.shutDown();
    if (!failures.isEmpty())
        throw RuntimeError(failures.join(u'\n'));
    m_guard.endProgram(0);
}

void Form1::Drive1_Change()
{
    if (m_driveGuard)
        return;
    const QString previousDrive = Drive1->driveOf(Dir1->path());
    const QString drive = Drive1->drive();
    m_guard.run(
        Trap::Reporting,
        [this, &drive] {
            QString reason;
            if (!Drive1->makeCurrent(drive, &reason))
                throw RuntimeError(reason);
            if (!Dir1->setPath(Drive1->drive(), &reason))
                throw RuntimeError(reason);
        },
        [this, &previousDrive](const QString &) { reportDriveNotReady(previousDrive); });
}

void Form1::reportDriveNotReady(const QString &previousDrive)
{
    QMessageBox::warning(
        this, QStringLiteral("Dive Not Ready"), QStringLiteral("Selected drive is not ready"));
    m_driveGuard = true;
    Drive1->setDrive(previousDrive);
    m_driveGuard = false;
}

void Form1::Dir1_Change()
{
    File1->setPath(Dir1->path());
}

void Form1::Text1_KeyPress(int keyAscii)
{
    if (keyAscii == EnterKeyAscii)
        File1->setPattern(Text1->text());
}

void Form1::cmdAll_Click()
{
    File1->selectAll();
}

void Form1::cmdAllPlt_Click()
{
    BrowseCommands::selectPlotFiles(*File1);
}

void Form1::cmdAddList_Click()
{
    addToPrintList(File1->selectedPaths());
}

void Form1::addToPrintList(const QStringList &paths)
{
    List1->append(paths);
    showCount();
}

void Form1::cmdRem_Click()
{
    List1->removeSelected();
    showCount();
}

void Form1::cmdClear_Click()
{
    List1->clear();
    showCount();
}

void Form1::showCount()
{
    txtCount->setText(QString::number(List1->count()));
}

void Form1::File1_DblClick()
{
    m_guard.run(Trap::Silent, [this] {
        const auto showPicture = [this](const QString &pictureFile, const QString &path, PreviewPages pages,
                                     const AutomationObject &document) {
            Form2::showPreview(m_guard, pictureFile, QFileInfo(path).fileName(), std::move(pages), document);
        };
        Preview(m_plotServer.object(), m_colourMode,
            m_environment.temporaryFile(QString::fromLatin1(AppFiles::PreviewImage)), showPicture)
            .showAll(File1->selectedPaths());
    });
}

void Form1::cmdPrint_Click()
{
    m_guard.run(
        Trap::Reporting,
        [this] {
            // The dialog lives only as long as the run, so a failure's report never sits behind it.
            PrintProgressDialog progress(this);
            const QStringList entries = List1->entries(); // a copy: events run while the dialog shows
            // Cancel stops the plot printing now too: its server is asked to stop, and ended if it
            // does not.
            const AutomationObject server = m_plotServer.object();
            connect(&progress, &QProgressDialog::canceled, &progress, [server] { server.interrupt(); });
            try {
                PrintRun::printAll(server, entries, m_colourMode, chkActSze->isChecked(),
                    [&progress](qsizetype index, qsizetype count, const QString &path) {
                        return progress.entryStarting(index, count, path);
                    });
            } catch (const AutomationError &) {
                if (!progress.wasCanceled())
                    throw;
                // The user asked for the stop: nothing to report, and the next run just works.
                m_plotServer.replaceIfGone();
            }
        },
        [this](const QString &) { reportPrintServerFailed(); });
}

void Form1::reportPrintServerFailed()
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Print Server Failed"),
        QStringLiteral("OLE Automation failure, make sure you have PDMS PlotViewer(tm) properly "
                       "installed."),
        QMessageBox::Ok, this);
    box.exec();
    m_plotServer.release();
}

void Form1::cmdPrintSet_Click()
{
    m_guard.run(
        Trap::Reporting, [this] { m_plotServer.printSetup(quintptr(winId())); },
        [this](const QString &description) { reportPrintSetupFailed(description); });
}

void Form1::reportPrintSetupFailed(const QString &description)
{
    QMessageBox::warning(this, QString::fromUtf8(VersionRecord::Title), description);
}

void Form1::optColor_Click()
{
    m_colourMode = PlotViewer::ColourModeNumber::Colour;
}

void Form1::optBandW_Click()
{
    m_colourMode = PlotViewer::ColourModeNumber::BlackAndWhite;
}

void Form1::optGrey_Click()
{
    m_colourMode = PlotViewer::ColourModeNumber::GreyScale;
}

void Form1::cmdDflt_Click()
{
    m_guard.run(Trap::Silent, [this] {
        const QString settingsFile = m_environment.settingsFile();
        if (!FileSystem::fileExists(settingsFile))
            FileSystem::createTextFile(settingsFile);
        Global::WriteSetting(SettingsSection, DefaultDirKey, Dir1->path(), settingsFile);
    });
}

void Form1::cmdAbout_Click()
{
    if (!m_about)
        m_about = new Form3(m_guard);
    m_about->show();
}
