#pragma once

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

/// The one door to the printer setup dialog, so that tests can answer it instead of
/// blocking on it.
class PrinterDialogs
{
public:
    /// Receives the printer in place of a real dialog; returns true for "accepted".
    using Hook = std::function<bool(QPrinter *printer)>;

    /// Modal print dialog on the printer: the user picks the printer (or a PDF file when
    /// none is installed) and its options, which later prints use. True when accepted.
    static bool printerSetup(QWidget *parent, QPrinter *printer);

    /// True when the printer can print: a valid printer, or PDF output into a named file.
    /// Without an installed printer Qt offers PDF output without a file, which is no
    /// printer at all.
    static bool isSetUp(const QPrinter &printer);

    /// A new printer at the program's resolution, with the choice of used (printer or PDF
    /// file, page layout, colour, copies, duplex) when given. A printer whose print
    /// failed stays active and refuses every later setting, so it is never used again.
    static std::unique_ptr<QPrinter> newPrinter(const QPrinter *used = nullptr);

    /// Replaces the real dialog; pass an empty hook to show the real one again.
    static void setHook(Hook hook);

private:
    static Hook &hook();
};
