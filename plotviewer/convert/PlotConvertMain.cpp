#include "PlotConvertMain.h"

#include "ConvertCommandLine.h"
#include "plotviewer/output/PdfFile.h"
#include "plotviewer/output/PictureFile.h"
#include "plotviewer/output/PlotLoader.h"
#include "plotviewer/render/PlotPicture.h"

#include <QTextStream>

namespace plotviewer {

namespace {

int exitWith(ConvertExit code)
{
    return int(code);
}

int convert(const ConvertOptions &options, QTextStream &err)
{
    const PlotLoader::Result loaded = PlotLoader::load(options.input);
    if (!loaded.document) {
        err << "plotconvert: " << loaded.error << '\n';
        return exitWith(loaded.failure == PlotLoader::Failure::Unreadable ? ConvertExit::Unreadable
                                                                          : ConvertExit::NothingDrawable);
    }
    const PlotDocument &document = *loaded.document;
    RenderOptions renderOptions;
    renderOptions.colourMode = options.colourMode;
    renderOptions.placement = options.placement;
    QString error;
    bool written = false;
    if (options.format == ConvertOptions::Format::Pdf) {
        written = writePdfFile(
            document.plot(), options.output, options.paper, renderOptions, document.fileName(), &error);
    } else {
        const QImage picture = renderPlotPicture(document.previewPage(), options.pictureSize, renderOptions);
        const char *format = options.format == ConvertOptions::Format::Jpeg ? "jpeg" : "png";
        written = writePictureFile(picture, options.output, format, &error);
    }
    if (!written) {
        err << "plotconvert: " << error << '\n';
        return exitWith(ConvertExit::CannotWrite);
    }
    return exitWith(ConvertExit::Success);
}

} // namespace

int plotConvertMain(const QStringList &arguments, QTextStream &out, QTextStream &err)
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
        return convert(std::get<ConvertOptions>(parsed), err);
    } catch (const std::exception &e) {
        err << "plotconvert: " << e.what() << '\n';
        return exitWith(ConvertExit::Failed);
    }
}

} // namespace plotviewer
