#include "PlotConvertMain.h"

#include "BatchConversion.h"
#include "ConvertCommandLine.h"
#include "plotviewer/document/PenTableFile.h"
#include "plotviewer/headless/ProcessLimits.h"

#include <QTextStream>

namespace plotviewer {

namespace {

int exitWith(ConvertExit code)
{
    return int(code);
}

// Reads the pen table the options name into them; false when there is one and it cannot be read.
bool readPenTable(ConvertOptions &options, QTextStream &err)
{
    if (options.penTableFile.isEmpty())
        return true;
    const PenTableFile table = PenTableFile::read(options.penTableFile);
    if (table.status == PenTableFile::Status::Missing) {
        err << "plotconvert: the pen table \"" << options.penTableFile << "\" does not exist\n";
        return false;
    }
    if (table.status == PenTableFile::Status::Unreadable) {
        err << "plotconvert: " << table.error << '\n';
        return false;
    }
    for (const QString &warning : table.warnings)
        err << "plotconvert: warning: " << warning << '\n';
    options.penTable = table;
    return true;
}

int convertOne(const ConvertOptions &options, const ConvertEnvironment &environment, QTextStream &err)
{
    environment.limitResources();
    ConversionResult result;
    try {
        result = convertFile(options.inputs.front(), options.output, options, environment.fonts);
    } catch (const std::bad_alloc &) {
        result = ConversionResult::failed(ConvertExit::Failed,
            QStringLiteral("\"%1\": %2").arg(options.inputs.front(), ProcessLimits::memoryMessage()));
    }
    for (const QString &warning : result.warnings)
        err << "plotconvert: warning: " << warning << '\n';
    if (result.exit != ConvertExit::Success)
        err << "plotconvert: " << result.error << '\n';
    return exitWith(result.exit);
}

} // namespace

int plotConvertMain(
    const QStringList &arguments, QTextStream &out, QTextStream &err, const ConvertEnvironment &environment)
{
    try {
        const ConvertCommandLine::Result parsed = ConvertCommandLine::parse(arguments);
        if (const auto *help = std::get_if<ConvertCommandLine::Help>(&parsed)) {
            out << help->text;
            return exitWith(ConvertExit::Success);
        }
        if (const auto *invalid = std::get_if<ConvertCommandLine::Invalid>(&parsed)) {
            err << "plotconvert: " << invalid->reason << "\nTry 'plotconvert --help' for more information.\n";
            return exitWith(ConvertExit::Usage);
        }
        ConvertOptions options = std::get<ConvertOptions>(parsed);
        if (!readPenTable(options, err))
            return exitWith(ConvertExit::Unreadable);
        if (options.isBatch())
            return exitWith(convertBatch(options, environment.fonts, out, err));
        return convertOne(options, environment, err);
    } catch (const std::exception &e) {
        err << "plotconvert: " << e.what() << '\n';
        return exitWith(ConvertExit::Failed);
    }
}

} // namespace plotviewer
