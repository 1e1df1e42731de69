#include "gui/PrinterDialogs.h"

#include <QPrintDialog>
#include <QPrinter>

PrinterDialogs::Hook &PrinterDialogs::hook()
{
    static Hook h;
    return h;
}

void PrinterDialogs::setHook(Hook h)
{
    hook() = std::move(h);
}

bool PrinterDialogs::printerSetup(QWidget *parent, QPrinter *printer)
{
    if (hook())
        return hook()(printer);
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
    // Printing always takes all pages of the page shown.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

bool PrinterDialogs::isSetUp(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return printer.isValid();
}

std::unique_ptr<QPrinter> PrinterDialogs::newPrinter(const QPrinter *used)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setResolution(300);
    if (!used)
        return printer;
    if (used->outputFormat() == QPrinter::PdfFormat) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(used->outputFileName());
    } else {
        printer->setPrinterName(used->printerName());
    }
    printer->setPageLayout(used->pageLayout());
    printer->setColorMode(used->colorMode());
    printer->setCopyCount(used->copyCount());
    printer->setCollateCopies(used->collateCopies());
    printer->setDuplex(used->duplex());
    return printer;
}
