#pragma once

#include "plotviewer/headless/FontSupport.h"

#include <QStringList>

class QFile;
class QIODevice;
class QTextStream;

namespace plotviewer {

/// A CUPS filter run: `arguments` as CUPS passes them (program, job-id, user, title, copies,
/// options, and an optional file). Reads the plot from the file, else from `standardInput`, and
/// writes it as PDF to `output`, nothing at all when it fails. Reports to `log` in CUPS's form
/// ("ERROR: ..." lines). Returns the exit status: 0 when the PDF was written, else 1. The pen
/// table is the [Pens] section of the settings file `penTable`, where there is one.
int cupsFilterMain(const QStringList &arguments, QFile &standardInput, QIODevice &output, QTextStream &log,
    const FontSupport &fonts, const QString &penTable);

} // namespace plotviewer
