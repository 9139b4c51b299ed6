#pragma once

#include "contract/PlotViewerContract.h"
#include "tarnwick/app/AppEnvironment.h"
#include "tarnwick/app/FileArguments.h"
#include "tarnwick/base/HandlerGuard.h"
#include "tarnwick/plot/PlotServer.h"

#include <QPointer>
#include <QWidget>

class DirList;
class DriveList;
class FileList;
class Form3;
class PrintList;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The main window: browsing, the print list, the print options and the buttons. It holds the
/// program's state, and every bound event of its controls runs one handler through the guard.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    Form1(const AppEnvironment &environment, HandlerGuard &guard, QWidget *parent = nullptr);
    ~Form1() override;

    /// Runs the load step. False when it failed: the report has been shown and the program ended.
    bool load();
    /// Adds the files named on the command line to the print list as "Add to List" adds entries.
    /// Those left out are reported together in one message box once the event loop runs.
    void addFileArguments(const FileArguments::Sorted &arguments);

    PlotViewer::ColourModeNumber colourMode() const { return m_colourMode; }
    bool holdsPlotServer() const { return m_plotServer.isHeld(); }
    QString defaultDirectory() const { return m_defaultDirectory; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void orderTabs();
    void bindEvents();
    template<typename Sender, typename Signal>
    void bind(Sender *sender, Signal signal, void (Form1::*handler)());
    /// Runs a handler through the guard with the generic report; handlers with a trap arm it inside.
    void handle(void (Form1::*handler)());
    /// Runs a handler that works with the plot server. One that comes while another waits for the
    /// server (a screen reader's press, say) runs after it, in order, so that two never overlap.
    void handleServerWork(void (Form1::*handler)());

    void openDefaultDirectory();
    /// Appends full paths to the print list and shows the new count.
    void addToPrintList(const QStringList &paths);
    void showCount();

    // Handlers of the bound events.
    void Form_Load();
    void Form_Unload();
    void Drive1_Change();
    void Dir1_Change();
    void Text1_KeyPress(int keyAscii);
    void cmdAll_Click();
    void cmdAllPlt_Click();
    void cmdAddList_Click();
    void cmdRem_Click();
    void cmdClear_Click();
    void File1_DblClick();
    void cmdPrint_Click();
    void cmdPrintSet_Click();
    void optColor_Click();
    void optBandW_Click();
    void optGrey_Click();
    void cmdDflt_Click();
    void cmdAbout_Click();

    // The reports of the handlers with a reporting trap.
    void reportDriveNotReady(const QString &previousDrive);
    void reportPrintServerFailed();
    void reportPrintSetupFailed(const QString &description);
    void reportFilesLeftOut(const QStringList &leftOut);

    AppEnvironment m_environment;
    HandlerGuard &m_guard;

    // State.
    PlotViewer::ColourModeNumber m_colourMode = PlotViewer::ColourModeNumber::BlackAndWhite;
    PlotServer m_plotServer;
    QString m_defaultDirectory;
    bool m_driveGuard = false;
    QList<void (Form1::*)()> m_serverWork; // the handler running first, then those waiting for it

    QPointer<Form3> m_about;

    // Controls, named as the layout names them.
    QPushButton *cmdPrint = nullptr;
    FileList *File1 = nullptr;
    QPushButton *cmdAllPlt = nullptr;
    DirList *Dir1 = nullptr;
    DriveList *Drive1 = nullptr;
    QLabel *D = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text1 = nullptr;
    PrintList *List1 = nullptr;
    QPushButton *cmdAddList = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *cmdAll = nullptr;
    QPushButton *cmdRem = nullptr;
    QPushButton *cmdClear = nullptr;
    QGroupBox *Frame1 = nullptr;
    QRadioButton *optColor = nullptr;
    QRadioButton *optBandW = nullptr;
    QRadioButton *optGrey = nullptr;
    QPushButton *cmdPrintSet = nullptr;
    QCheckBox *chkActSze = nullptr;
    QLabel *lblCount = nullptr;
    QLineEdit *txtCount = nullptr;
    QPushButton *cmdDflt = nullptr;
    QPushButton *cmdAbout = nullptr;
};
