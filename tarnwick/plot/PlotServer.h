#pragma once

#include "contract/PlotViewerContract.h"
#include "tarnwick/automation/AutomationObject.h"

/// The program's one reference to the plot viewer server. Calls throw AutomationError; a failed
/// creation leaves the reference as it was.
class PlotServer
{
public:
    /// Every server made draws the device's pens from the pen table in `settingsFile`.
    explicit PlotServer(QString settingsFile = {})
        : m_settingsFile(std::move(settingsFile))
    { }

    /// Creates a server and holds it in place of any earlier one.
    void create();
    /// Creates a fresh server, holds it, then shows its print setup in front of the native window
    /// `ownerWindow`. A failing print setup leaves the fresh server held.
    void printSetup(quintptr ownerWindow = 0);
    /// After a run the user stopped: a server that was ended on the way is replaced by a fresh one,
    /// or, when none can be started, the reference is left empty. Nothing is reported either way.
    void replaceIfGone();
    void release() { m_server.release(); }
    /// Releases the server at the program's end, ending its process at once, also when a call to
    /// it is still waiting: nothing may keep the program from ending.
    void shutDown();
    bool isHeld() const { return !m_server.isEmpty(); }
    /// The reference itself, empty when none is held: calls through it then fail.
    const AutomationObject &object() const { return m_server; }

private:
    QString m_settingsFile;
    AutomationObject m_server;
};

/// Opens the plot at `path` through `server` in the chosen colour mode, as every print run and
/// preview begins.
AutomationObject openPlot(
    const AutomationObject &server, const QString &path, PlotViewer::ColourModeNumber colourMode);
