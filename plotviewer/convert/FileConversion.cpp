#include "FileConversion.h"

#include "plotviewer/output/PdfFile.h"
#include "plotviewer/output/PictureFile.h"
#include "plotviewer/output/PlotLoader.h"
#include "plotviewer/render/LabelPainter.h"
#include "plotviewer/render/PlotPicture.h"

namespace plotviewer {

ConversionResult convertFile(
    const QString &input, const QString &output, const ConvertOptions &options, const FontSupport &fonts)
{
    const PlotLoader::Result loaded = PlotLoader::load(input, options.pens);
    if (!loaded.document) {
        return ConversionResult::failed(loaded.failure == PlotLoader::Failure::Unreadable
                ? ConvertExit::Unreadable
                : ConvertExit::NothingDrawable,
            loaded.error);
    }
    const PlotDocument &document = *loaded.document;
    RenderOptions renderOptions;
    renderOptions.colourMode = options.colourMode;
    renderOptions.placement = options.placement;
    QString error;
    bool written = false;
    QStringList warnings = document.warnings();
    if (options.format == ConvertOptions::Format::Pdf) {
        fonts();
        const PrintedSheets printed = writePdfFile(
            document.plot(), output, options.paper, renderOptions, document.fileName(), &error);
        written = printed.written;
        warnings << printed.warnings();
    } else {
        const Page &page = document.previewPage();
        if (needsOutlineFont(page, renderOptions.strokeFont))
            fonts();
        bool fewerChords = false;
        const QImage picture = renderPlotPicture(page, options.pictureSize, renderOptions, &fewerChords);
        if (fewerChords)
            warnings << fewerChordsWarning();
        const char *format = options.format == ConvertOptions::Format::Jpeg ? "jpeg" : "png";
        written = writePictureFile(picture, output, format, &error);
    }
    if (!written)
        return { ConvertExit::CannotWrite, error, warnings };
    return { ConvertExit::Success, {}, warnings };
}

} // namespace plotviewer
