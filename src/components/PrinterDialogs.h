#pragma once

#include <functional>

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

    /// Replaces the real dialog; pass an empty hook to show the real one again.
    static void setHook(Hook hook);

private:
    static Hook &hook();
};
