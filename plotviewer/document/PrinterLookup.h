#pragma once

#include <QString>

namespace plotviewer {

/// Finds the printer a job goes to when the user chose none; tests replace it.
class PrinterLookup
{
public:
    virtual ~PrinterLookup() = default;
    /// The system's default printer, else the first one installed; empty when there is none.
    virtual QString defaultPrinterName() const = 0;
};

} // namespace plotviewer
