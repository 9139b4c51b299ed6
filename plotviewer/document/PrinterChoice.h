#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <QString>

#include <optional>

class QSettings;

namespace plotviewer {

/// What the user chose in the print dialog, kept so that later print jobs can use it.
struct PrinterChoice
{
    QString printerName;
    QString outputFileName; // set when the user chose to print to a file
    QPageLayout pageLayout;
    /// Set only when the user turned the page in the dialog; otherwise each plot decides.
    std::optional<QPageLayout::Orientation> orientation;
    int copies = 1;
    bool collate = true;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPrinter::ColorMode colorMode = QPrinter::Color;

    /// The settings of `printer`, with `orientation` as given.
    static PrinterChoice capture(
        const QPrinter &printer, std::optional<QPageLayout::Orientation> orientation);
    /// Sets `printer` up for this choice (the orientation is left to the print job).
    void applyTo(QPrinter &printer) const;

    /// Keeps the choice in `settings`, so that a later server can start from it.
    void save(QSettings &settings) const;
    /// The choice kept in `settings`; nullopt when it holds none.
    static std::optional<PrinterChoice> load(QSettings &settings);
};

} // namespace plotviewer
