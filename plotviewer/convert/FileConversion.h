#pragma once

#include "ConvertExit.h"
#include "ConvertOptions.h"
#include "plotviewer/headless/FontSupport.h"

#include <QString>
#include <QStringList>

namespace plotviewer {

struct ConversionResult
{
    ConvertExit exit = ConvertExit::Success;
    QString error; // names the file and the reason
    QStringList warnings; // what had to be changed or left out of the plot

    static ConversionResult failed(ConvertExit exit, QString error) { return { exit, std::move(error), {} }; }
};

/// The file of page `page` (from 0) of a plot converted to `output` in a format of one page a file:
/// `output` itself for the first page, then "name-2.svg", "name-3.svg", ... beside it.
QString pageFileName(const QString &output, int page);

/// Converts the plot at `input` to `output` as `options` ask.
ConversionResult convertFile(
    const QString &input, const QString &output, const ConvertOptions &options, const FontSupport &fonts);

} // namespace plotviewer
