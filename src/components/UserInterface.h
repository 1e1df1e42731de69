#pragma once

#include <QString>

/// What the core asks of the windows. The main window implements it; tests use a
/// recording fake. Every call returns at once except the modal boxes.
class UserInterface
{
public:
    enum class Panel { Nachricht, Zeit };
    /// Normal: the button face; Info: the tooltip background; TimeUp: #F0CAA6.
    enum class PanelColour { Normal, Info, TimeUp };
    enum class Command { Antwortenliste };

    virtual ~UserInterface() = default;

    /// Writes a status panel directly, without tint.
    virtual void setPanelText(Panel panel, const QString &text) = 0;
    virtual void setPanelColour(Panel panel, PanelColour colour) = 0;

    /// Status message: panel Nachricht shows " " + text on light yellow for 3 s.
    virtual void Msg(const QString &text) = 0;

    /// Modal warning box (caption "Warnung", one button OK).
    virtual void ShowWarning(const QString &text) = 0;
    /// Modal box with OK and "Abbrechen"; true for OK.
    virtual bool confirm(const QString &text) = 0;

    /// Lets the page viewer show a local file, optionally with "#anchor"; the caption
    /// follows the page's title as soon as it is shown. Returns false when the file
    /// could not be shown (the viewer has already said why).
    virtual bool showPage(const QString &pathWithAnchor) = 0;
    /// Title of the page the viewer shows now.
    virtual QString pageTitle() const = 0;
    /// Main window caption.
    virtual void setCaption(const QString &caption) = 0;
    virtual void focusViewer() = 0;

    virtual void setCommandEnabled(Command command, bool enabled) = 0;
    virtual bool isCommandEnabled(Command command) const = 0;

    /// Progress bar of panel Balken, 0 to 100.
    virtual void setProgress(int percent) = 0;

    /// Starts (a full new interval) or stops the examination timer of 60000 ms, whose
    /// ticks call ExamTimer::VexaTimerTimer.
    virtual void setExamTimerRunning(bool running) = 0;

    /// Opens a document with the system's handler. Returns 0 on success, 2 when the
    /// file is missing, 87 when no application is registered for it.
    virtual int openDocument(const QString &path) = 0;

    /// Modal dialog for an existing file; the chosen path, empty for Cancel.
    virtual QString openFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;

    /// Shows the question-and-answer window with the question of the given ID.
    virtual void showQuestion(const QString &id) = 0;
    /// Shows the about window modally.
    virtual void showAbout() = 0;
};
