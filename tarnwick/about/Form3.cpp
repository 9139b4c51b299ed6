#include "tarnwick/about/Form3.h"

#include "resources/VersionRecord.h"
#include "tarnwick/about/LineControl.h"
#include "tarnwick/base/AppIcon.h"
#include "tarnwick/base/HandlerGuard.h"
#include "tarnwick/base/Twips.h"
#include "tarnwick/base/UiFonts.h"
#include "tarnwick/base/WindowFlags.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

Form3::Form3(HandlerGuard &guard)
    : QWidget(nullptr, fixedBorderWindow(Qt::Tool)) // a tool window stays out of the task bar
    , m_guard(guard)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(AppIcon::sixteenColourImage()));
    setFont(UiFonts::tahoma(UiFonts::ControlPoints));
    setFixedSize(Twips(*this).size(5850, 3068));
    createControls();
    m_guard.run(Trap::None, [this] { Form_Load(); });
}

QString Form3::versionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString Form3::disclaimer()
{
    // Its four paragraphs are joined by bare carriage returns, never by line feeds.
    return QStringList { QString(), QStringLiteral("  "), QStringLiteral(" "), QString() }.join(QChar(u'\r'));
}

void Form3::createControls()
{
    const Twips twips(*this);
    const auto label = [&](const char *name, QRect geometry, const QFont &font) {
        auto *control = new QLabel(this);
        control->setObjectName(QLatin1String(name));
        control->setGeometry(geometry);
        control->setFont(font);
        control->setWordWrap(true);
        control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return control;
    };
    const QFont heading = UiFonts::tahoma(UiFonts::HeadingPoints, true);
    const QFont text = UiFonts::tahoma(UiFonts::ControlPoints);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setFrameStyle(QFrame::Box | QFrame::Plain);
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QPixmap icon = AppIcon::sixteenColourImage();
    picIcon->setPixmap(icon);
    // The stored icon declares twice its height, and the picture box sizes itself to that.
    const int border = picIcon->frameWidth() * 2;
    picIcon->setGeometry(twips.x(240), twips.y(240), icon.width() + border, icon.height() * 2 + border);

    lblTitle = label("lblTitle", twips.rect(1053, 234, 1651, 364), heading);
    lblVersion = label("lblVersion", twips.rect(2808, 234, 2587, 455), heading);
    lblDescription = label("lblDescription", twips.rect(1053, 702, 4693, 234), text);
    lblComments = label("lblComments", twips.rect(1053, 936, 4693, 351), text);
    lblDisclaimer
        = label("lblDisclaimer", twips.rect(1053, 1404, 4693, 936), UiFonts::tahoma(UiFonts::WindowPoints));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    for (QLabel *text : { lblTitle, lblDescription, lblComments, lblDisclaimer })
        text->setPalette(black);

    auto *greyLine = new LineControl(
        { twips.x(117), twips.y(2457) }, { twips.x(5684), twips.y(2457) }, QColor(0x80, 0x80, 0x80), 1, this);
    greyLine->setObjectName(QStringLiteral("Line1_1"));
    auto *whiteLine = new LineControl(
        { twips.x(117), twips.y(2574) }, { twips.x(5669), twips.y(2574) }, Qt::white, 2, this);
    whiteLine->setObjectName(QStringLiteral("Line1_0"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setFont(UiFonts::msSansSerif(UiFonts::OkButtonPoints));
    cmdOK->setGeometry(twips.rect(4446, 2691, 1260, 345));
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(
        cmdOK, &QPushButton::clicked, this, [this] { m_guard.run(Trap::None, [this] { cmdOK_Click(); }); });

    setTabOrder(cmdOK, picIcon);
}

void Form3::Form_Load()
{
    const QString title = QString::fromUtf8(VersionRecord::Title);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(versionLine(VersionRecord::Major, VersionRecord::Minor, VersionRecord::Revision));
    lblTitle->setText(title);
    lblDescription->setText(QString::fromUtf8(VersionRecord::FileDescription));
    lblComments->setText(QString::fromUtf8(VersionRecord::Comments));
    // Qt breaks label lines at Unicode line separators, not at a bare carriage return.
    lblDisclaimer->setText(disclaimer().replace(u'\r', QChar::LineSeparator));
}

void Form3::keyPressEvent(QKeyEvent *event)
{
    // OK is both the default and the cancel button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOK->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form3::cmdOK_Click()
{
    close();
}
