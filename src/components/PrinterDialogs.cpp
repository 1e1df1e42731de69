#include "components/PrinterDialogs.h"

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
