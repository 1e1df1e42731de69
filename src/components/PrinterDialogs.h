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

    /// Modal page setup dialog on the printer; true when the user accepted it.
    static bool pageSetup(QWidget *parent, QPrinter *printer);

    /// Replaces the real dialog; pass an empty hook to show the real one again.
    static void setHook(Hook hook);

private:
    static Hook &hook();
};
