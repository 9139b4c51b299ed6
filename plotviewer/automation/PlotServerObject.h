#pragma once

#include "AutomationErrors.h"
#include "contract/AutomationInterfaces.h"
#include "contract/PlotViewerContract.h"

#include <QObject>

#include <memory>

namespace plotviewer {

class PrinterSelection;

/// The plot viewer's automation server object; members are called late-bound by name.
class PlotServerObject : public QObject, public AutomationErrorSource
{
    Q_OBJECT
    Q_INTERFACES(AutomationErrorSource)

public:
    explicit PlotServerObject(std::shared_ptr<PrinterSelection> printers);
    /// A server printing on this system's printers, starting from the user's saved print setup;
    /// `displayAvailable` says whether it can show the print dialog.
    static std::unique_ptr<PlotServerObject> forThisSystem(bool displayAvailable);

    /// A new document for the plot file at `path`, owned by the caller; null when the file cannot
    /// be read or holds nothing to draw.
    Q_INVOKABLE QObject *Open(const QString &path);
    /// The print dialog; its choice holds for later prints of every document this server opened,
    /// and is kept for the servers started after it.
    Q_INVOKABLE void PrintSetup();
    /// Ours: the native id of the caller's window, which the print dialog then stands in front of.
    Q_INVOKABLE void SetOwnerWindow(qlonglong windowId);
    /// The settings file whose pen table every later Open reads; its problems become the document's
    /// warnings, never a failure.
    Q_INVOKABLE void SetPenTable(const QString &settingsFile);

    QString takeError() override;

private:
    std::shared_ptr<PrinterSelection> m_printers;
    QString m_penTable;
    quintptr m_ownerWindow = 0;
    AutomationErrors m_errors;
};

} // namespace plotviewer
