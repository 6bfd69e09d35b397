#include "print/PrinterChoices.h"

#include <QPrinterInfo>

PrinterChoices SystemPrinters()
{
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName(), true};
}
