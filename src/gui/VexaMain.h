#pragma once

#include "components/UserInterface.h"
#include "shell/VexaCore.h"

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QPrinter>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>

class DownloadDialog;
class KatexRenderer;
class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QToolButton;
class TFragenForm;
class TPEditorForm;
class TEinstellungenForm;
class TVexaAboutBox;
class VexaHTMLViewer;
class WindowGeometry;

/// The main window: menu bar, tool bar, page viewer and status bar around the core of
/// the run. It owns the core, both timers and the printer, and is the core's
/// UserInterface.
class TVexaForm : public QMainWindow, public UserInterface
{
    Q_OBJECT

public:
    struct Options
    {
        QString programDir; ///< installed files, without trailing "/"
        QString dataDir;    ///< the user's data, without trailing "/"
        bool portable = false;
        /// Without a seed the generator is seeded once from the clock.
        std::optional<std::uint64_t> seed;
        /// Without a clock the local time is used.
        Clock clock;
    };

    /// Folders of a real start: the program folder beside the executable, the portable
    /// flag, the data folder below HOME (created when missing).
    static Options realOptions();

    explicit TVexaForm(Options options, QWidget *parent = nullptr);
    ~TVexaForm() override;

    VexaCore &core() { return *m_core; }
    VexaHTMLViewer *viewer() const { return m_viewer; }
    TFragenForm *fragenForm() const { return m_fragen.get(); }
    TPEditorForm *peditorForm() const { return m_peditor.get(); }
    TEinstellungenForm *einstellungenForm() const { return m_einstellungen.get(); }
    TVexaAboutBox *aboutBox() const { return m_about.get(); }
    QTimer *msgTimer() { return &m_msgTimer; }
    QTimer *examTimer() { return &m_examTimer; }
    /// The printer the next print uses; a failed print replaces it.
    QPrinter *printer() { return m_printer.get(); }
    QLabel *panelLabel(Panel panel) const;
    QProgressBar *progressBar() const { return m_progress; }

    // UserInterface
    void setPanelText(Panel panel, const QString &text) override;
    void setPanelColour(Panel panel, PanelColour colour) override;
    void Msg(const QString &text) override;
    void ShowWarning(const QString &text) override;
    bool confirm(const QString &text) override;
    bool showPage(const QString &pathWithAnchor) override;
    QString pageTitle() const override;
    void setCaption(const QString &caption) override;
    void focusViewer() override;
    void setCommandEnabled(Command command, bool enabled) override;
    bool isCommandEnabled(Command command) const override;
    void setProgress(int percent) override;
    void setExamTimerRunning(bool running) override;
    int openDocument(const QString &path) override;
    QString openFileName(const QString &title, const QString &folder,
                         const QString &filter) override;
    void showQuestion(const QString &id) override;
    void showAbout() override;

signals:
    /// The hint under the mouse changed; the status bars of the other windows follow it.
    void hintChanged(const QString &hint);

public slots:
    // Navigation and pages
    void VorZurueckSpeedButtonClick();
    void ReloadSpeedButtonClick();
    void HomeSpeedButtonClick();
    void TrainingK2Click();
    void TrainingK3Click();
    /// Class N exists with an imported catalogue only; without its page a warning says so.
    void TrainingKNClick();
    void LernenKAClick();
    void LernenKEClick();
    void LernenKNClick();
    void HilfeSpeedButtonClick();
    // Examinations and the answer list
    void K2TechnikClick();
    void K3TechnikClick();
    void KNTechnikClick();
    void K2BetriebClick();
    void K2VorschriftenClick();
    void AntwortenlisteClick();
    // Printing and exit
    void DruckenSpeedButtonClick();
    void DruckereinrichtenClick();
    void FragenkatalogImportierenClick();
    /// Asks, downloads the official catalogue with a progress window and imports it.
    void FragenkatalogHerunterladenClick();
    void ExitSpeedButtonClick();
    // Own lists
    void PruefungladenClick();
    void PruefungseditorClick();
    // Log and statistics
    void Statistik2Click();
    void Statistik3Click();
    void StatistikNClick();
    /// The examination page of class N; without rules that know the class a warning.
    void UebersichtNClick();
    /// The examination pages of class A and E: under the archive's rules built from the
    /// log, else the installed pages.
    void UebersichtAClick();
    void UebersichtEClick();
    void LogSpeedButtonClick();
    void LogloeschenClick();
    void LernstandClick();
    // Page zoom, one factor for the main window and the question-and-answer window
    void ZoomInClick();
    void ZoomOutClick();
    void ZoomResetClick();
    /// The learner's data to a ZIP file and back (backup and restore).
    void LernstandSichernClick();
    void LernstandEinlesenClick();
    // Settings and about windows
    void MEinstellungenClick();
    void InfoClick();
    // Status output
    void MsgTimerTimer();
    void ShowHint(const QString &hint);
    void VexaHTMLViewerMouseMove();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    /// Shows every viewer at percent (bounded) and keeps it in the settings file.
    void setZoom(int percent);
    /// Ctrl+Plus, Ctrl+Minus, Ctrl+0 in the main window and the question-and-answer window.
    void createZoomActions();
    /// A class's submenu of the examinations: its technical part, the shared parts, its
    /// statistics and overview.
    struct ClassMenu
    {
        QChar letter;
        QString number;       ///< as the entries' hints name the class: 2, 3, N
        Qt::Key technicalKey; ///< with Ctrl, the statistics
        void (TVexaForm::*technical)();
        void (TVexaForm::*statistics)();
        void (TVexaForm::*overview)();
    };

    void createMenus();
    void createFileMenu(QMenuBar *bar);
    void createTrainingMenu(QMenuBar *bar);
    void createExaminationMenu(QMenuBar *bar);
    void addClassMenu(QMenu *pruefungen, const ClassMenu &c);
    void createHelpMenu(QMenuBar *bar);
    void createToolBar(QWidget *parent);
    void createStatusPanels(QWidget *parent);
    void connectViewer();
    void restoreWindowPosition();
    void showClassOverview(QChar classLetter);
    /// Runs the menu entry whose shortcut the key is; false when there is none.
    bool runMenuShortcut(const QKeyEvent *key);
    void placeToolBar();
    void writeGeometryAndShutdown();
    /// KaTeX for the formulas of an import, loaded at the first formula.
    CatalogueBuilder::FormulaRenderer formulaRenderer();
    void setPanelBackground(QLabel *label, const QColor &colour);
    QColor panelColour(PanelColour colour) const;
    QAction *addEntry(QMenu *menu, const QString &caption, const QString &hint,
                      const QKeySequence &shortcut, void (TVexaForm::*slot)());
    /// picture: a file of the installed pics; empty for an icon the caller sets.
    QToolButton *addToolButton(const char *name, int left, const QString &picture,
                               const QString &hint, void (TVexaForm::*slot)());

    std::unique_ptr<VexaCore> m_core;
    VexaHTMLViewer *m_viewer = nullptr;
    QFrame *m_toolPanel = nullptr;
    QFrame *m_toolPanelInner = nullptr;
    QToolButton *m_zurueck = nullptr;
    QToolButton *m_vor = nullptr;
    QToolButton *m_exit = nullptr;
    QLabel *m_nachricht = nullptr;
    QLabel *m_zeit = nullptr;
    QWidget *m_balken = nullptr;
    QProgressBar *m_progress = nullptr;
    QAction *m_antwortenliste = nullptr;
    QTimer m_msgTimer;
    QTimer m_examTimer;
    std::unique_ptr<QPrinter> m_printer;
    bool m_shutDown = false;
    WindowGeometry *m_geometry = nullptr;
    /// The question-and-answer window: created at start, hidden until asked for.
    std::unique_ptr<TFragenForm> m_fragen;
    /// The exam editor: created at start, hidden until asked for.
    std::unique_ptr<TPEditorForm> m_peditor;
    /// The settings window: created at start, hidden until asked for.
    std::unique_ptr<TEinstellungenForm> m_einstellungen;
    /// The about window, shown modally.
    std::unique_ptr<TVexaAboutBox> m_about;
    QHash<QKeySequence, QAction *> m_menuShortcuts;
    /// Panel texts set while a page of the program was loading, shown again once it is.
    QHash<Panel, QString> m_textsAfterLoad;
    /// Formula typesetting for imports, loaded at the first formula.
    std::unique_ptr<KatexRenderer> m_katex;
    /// The progress of a running download; it deletes itself when closed.
    QPointer<DownloadDialog> m_downloadDialog;
};
