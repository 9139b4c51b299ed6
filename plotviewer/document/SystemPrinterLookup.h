#pragma once

#include "PrinterLookup.h"

namespace plotviewer {

/// The printers the platform's print support (CUPS on Linux) knows.
class SystemPrinterLookup : public PrinterLookup
{
public:
    QString defaultPrinterName() const override;
};

} // namespace plotviewer
