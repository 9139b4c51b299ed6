#pragma once

#include "plotviewer/interpreter/LoadedPens.h"

#include <QString>
#include <QStringList>

namespace plotviewer {

/// The user's pen table: the [Pens] section of a settings file, one line per pen,
/// `N=width-in-mm #rrggbb` (either half may be left out), for the pens a plot does not set itself.
struct PenTableFile
{
    enum class Status { Read, Missing, Unreadable };

    hpgl::LoadedPens pens;
    Status status = Status::Missing;
    QString error; // why the file could not be read
    QStringList warnings; // a line each that was skipped, naming it; the rest of the table holds

    /// Reads the table from the settings file at `path`. A file without a [Pens] section is an empty
    /// table; a missing or unreadable file is one too, with the status and error saying so.
    static PenTableFile read(const QString &path);
    /// The warnings, with the error when the file exists but could not be read: what a face that
    /// goes on without the table reports.
    QStringList problems() const;
};

} // namespace plotviewer
