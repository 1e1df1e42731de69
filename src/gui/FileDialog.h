#pragma once

#include <QString>

#include <functional>

class QWidget;

/// The one door to every file dialog of the program, so that tests can choose files
/// instead of blocking on a dialog.
class FileDialog
{
public:
    enum Kind { Open, Save };

    /// A hook receives the kind, title, starting folder and filter of a dialog and returns
    /// the chosen path (empty for Cancel) in place of a real dialog.
    using Hook = std::function<QString(Kind kind, const QString &title, const QString &folder,
                                       const QString &filter)>;

    /// Asks for an existing file; empty when cancelled.
    static QString getOpenFileName(QWidget *parent, const QString &title, const QString &folder,
                                   const QString &filter);

    /// Asks for a file name to write; empty when cancelled. The dialog does not ask
    /// before overwriting: the caller does, in its own words.
    static QString getSaveFileName(QWidget *parent, const QString &title, const QString &folder,
                                   const QString &filter);

    /// Replaces the real dialogs; pass an empty hook to show real dialogs again.
    static void setHook(Hook hook);

private:
    static Hook &hook();
};
