#include "FileConversion.h"

#include <QDir>
#include <QFileInfo>

#include "plotviewer/document/PlotLoader.h"
#include "plotviewer/files/PdfFile.h"
#include "plotviewer/files/PictureFile.h"
#include "plotviewer/files/SvgFile.h"
#include "plotviewer/render/LabelPainter.h"
#include "plotviewer/render/PlotPicture.h"

namespace plotviewer {

QString pageFileName(const QString &output, int page)
{
    if (page == 0)
        return output;
    const QFileInfo info(output);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return info.dir().filePath(
        QStringLiteral("%1-%2%3").arg(info.completeBaseName()).arg(page + 1).arg(suffix));
}

ConversionResult convertFile(
    const QString &input, const QString &output, const ConvertOptions &options, const FontSupport &fonts)
{
    const PlotLoader::Result loaded = PlotLoader::load(input, options.penTable.pens);
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
    } else if (options.format == ConvertOptions::Format::Svg) {
        const std::optional<QPageSize> paper
            = options.paperChosen ? std::optional(options.paper) : std::nullopt;
        const std::vector<Page> &pages = document.plot().pages;
        written = true;
        for (std::size_t page = 0; page < pages.size() && written; ++page) {
            if (needsOutlineFont(pages[page], renderOptions.strokeFont))
                fonts();
            written = writeSvgFile(pages[page], pageFileName(output, int(page)), paper, renderOptions,
                document.fileName(), &error);
        }
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
