#include "components/PrinterDialogs.h"

#include <QPageSetupDialog>
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

bool PrinterDialogs::pageSetup(QWidget *parent, QPrinter *printer)
{
    if (hook())
        return hook()(printer);
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
