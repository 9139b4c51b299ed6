#pragma once

#include "plotviewer/document/PrinterLookup.h"

namespace plotviewer::test {

/// A printer lookup that answers with a fixed name (empty: no printer installed).
class FixedPrinterLookup : public PrinterLookup
{
public:
    explicit FixedPrinterLookup(QString name = {})
        : m_name(std::move(name))
    { }
    QString defaultPrinterName() const override { return m_name; }

private:
    QString m_name;
};

} // namespace plotviewer::test
