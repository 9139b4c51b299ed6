#pragma once

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <unistd.h>

/// The plot server processes this test process started and that still run, by process id.
inline QList<qint64> serverProcesses()
{
    QList<qint64> found;
    const QString self = QString::number(::getpid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name is cut at 15 characters.
        const QString fields = QString::fromLatin1(status.readAll());
        const QStringList after = fields.section(u')', -1).split(u' ', Qt::SkipEmptyParts);
        if (fields.contains(u"(plotviewer-serv") && after.value(1) == self && after.value(0) != u"Z")
            found.append(pid.toLongLong());
    }
    return found;
}

/// Keeps a print setup, as the print dialog's OK would, that prints every job into `pdf`: the
/// servers started from now on print there.
inline void keepPrintSetupToFile(const QString &pdf)
{
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tarnwick/print-setup.ini");
    QSettings setup(file, QSettings::IniFormat);
    setup.clear();
    setup.setValue(QStringLiteral("Printer"), QString());
    setup.setValue(QStringLiteral("OutputFile"), pdf);
}

/// A plot of `pages` pages of one line each: short to read, long to print.
inline QString writeManyPagesPlot(const QString &path, int pages)
{
    QFile plot(path);
    if (!plot.open(QIODevice::WriteOnly))
        return {};
    for (int page = 0; page < pages; ++page)
        plot.write("IN;SP1;PA0,0;PD4000,3000;PU;PG;");
    plot.write("SP0;");
    return path;
}
