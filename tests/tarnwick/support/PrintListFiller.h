#pragma once

#include "Form1Fixture.h"
#include "tarnwick/browse/DirList.h"

#include <QPushButton>

/// Puts files named `names` in a fresh directory, opens it in the main window and adds them all to
/// the print list through the window's own buttons. Returns the directory.
inline QString fillPrintList(Form1Fixture &fixture, const QStringList &names)
{
    const QString dir = fixture.env.makeDirectory(QStringLiteral("plots"));
    for (const QString &name : names)
        fixture.env.makeFile(QStringLiteral("plots/") + name);
    if (!fixture.control<DirList>("Dir1")->setPath(dir))
        qFatal("the directory list refused %s", qPrintable(dir));
    fixture.control<QPushButton>("cmdAll")->click();
    fixture.control<QPushButton>("cmdAddList")->click();
    return dir;
}
