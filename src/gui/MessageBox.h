#pragma once

#include <QString>

#include <functional>

class QWidget;

/// The one door to every modal message box of the program, so that tests can answer
/// boxes instead of blocking on them.
class MessageBox
{
public:
    enum Answer { Ok, Cancel };
    enum Kind { Warning, Confirmation, Information };

    /// A hook receives the kind and text of a box and returns the answer in place of a
    /// real box. Without a hook the real QMessageBox is shown.
    using Hook = std::function<Answer(Kind kind, const QString &text)>;

    /// Modal warning box: caption "Warnung", warning symbol, one button "OK".
    static void warning(QWidget *parent, const QString &text);

    /// Modal box with a report: caption "Information", one button "OK".
    static void information(QWidget *parent, const QString &text);

    /// Modal box with "OK" and "Abbrechen"; true only for OK (closing the box is Cancel).
    static bool confirm(QWidget *parent, const QString &text);

    /// Replaces the real boxes; pass an empty hook to show real boxes again.
    static void setHook(Hook hook);

private:
    /// A box with one OK button, or the hook's answer.
    static void report(QWidget *parent, Kind kind, const QString &text);
    static Hook &hook();
};
