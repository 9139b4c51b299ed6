#include "SystemPrinterLookup.h"

#include <QPrinterInfo>

namespace plotviewer {

QString SystemPrinterLookup::defaultPrinterName() const
{
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty())
        return name;
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    return installed.isEmpty() ? QString() : installed.front();
}

} // namespace plotviewer
