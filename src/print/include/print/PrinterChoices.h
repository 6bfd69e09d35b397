#pragma once
// The printers the print options dialog offers.

#include <QString>
#include <QStringList>
#include <functional>

struct PrinterChoices {
    QStringList printers;  // the system's printers, in the system's order
    QString current;       // the printer the program prints to: the system's default
    bool offerPdf = true;  // the "Save as PDF" entry after the printers
};

// The system's printers and default printer, with the PDF entry.
[[nodiscard]] PrinterChoices SystemPrinters();

using PrinterChoicesSource = std::function<PrinterChoices()>;
