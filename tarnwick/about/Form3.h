#pragma once

#include <QWidget>

class HandlerGuard;
class QLabel;
class QPushButton;

/// The About window: title, version, description, comments and disclaimer. Closing it unloads it;
/// the next showing loads it afresh.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    explicit Form3(HandlerGuard &guard);

    /// The version line, built from three integers written without leading zeros.
    static QString versionLine(int major, int minor, int revision);
    /// The disclaimer, its lines separated by bare carriage returns.
    static QString disclaimer();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();

    HandlerGuard &m_guard;
    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblComments = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
};
