#pragma once

#include "gui/WindowGeometry.h"
#include "lists/ExamEditor.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QToolButton;
class Settings;

/// The exam editor window: the pool of one part beside the own list, count, minutes and
/// comment, and the list files. Created at start and hidden; closing only hides it, so
/// its content stays until the program ends. The logic is ExamEditor's.
class TPEditorForm : public QMainWindow, public ExamEditor::View
{
    Q_OBJECT

public:
    struct Uses
    {
        ExamEditor::Uses editor;
        Settings &settings;
        QString programDir;
        /// Shows the question-and-answer window with a question of the pool's lines, in
        /// the pool's part.
        std::function<void(const QString &id, const QStringList &catalogueLines,
                           const ExamPart &part)>
            showQuestion;
        /// Loads the editor's help page into the main window's viewer.
        std::function<void()> showHelp;
    };

    /// Creates the window hidden, at the position and size of its settings keys.
    explicit TPEditorForm(Uses uses, QWidget *parent = nullptr);
    ~TPEditorForm() override;

    ExamEditor &editor() { return m_editor; }
    QComboBox *partChoice() const { return m_part; }
    QListWidget *pool() const { return m_pool; }
    QListWidget *ownList() const { return m_own; }
    QComboBox *countChoice() const { return m_count; }
    QLineEdit *minutesField() const { return m_minutes; }
    QLineEdit *commentField() const { return m_comment; }
    QLabel *statusPanel(int index) const { return index == 0 ? m_nachricht : m_zeit; }
    QTimer *msgTimer() { return &m_msgTimer; }

    /// Writes PEditorTop, PEditorLeft, PEditorWidth and PEditorHeight (program end).
    /// False after the first refused write (reported by the settings file).
    [[nodiscard]] bool writeGeometry();

    // ExamEditor::View
    void setStatusText(const QString &text) override;
    void Msg(const QString &text) override;
    void setCountText(const QString &text) override;
    void setFocus(Control control) override;
    QString openFileName(const QString &title, const QString &folder) override;
    QString saveFileName(const QString &title, const QString &folder) override;
    void ShowWarning(const QString &text) override;
    bool confirm(const QString &text) override;
    void setBusy(bool busy) override;
    void showQuestion(const QString &id, const QStringList &catalogueLines,
                      const ExamPart &part) override;
    void contentChanged() override;

public slots:
    void PruefungsAuswahlComboBoxChange(int index);
    void OeffnenSpeedButtonClick();
    void SpeichernSpeedButtonClick();
    void RechtsSpeedButtonClick();
    void LinksSpeedButtonClick();
    void LoeschenSpeedButtonClick();
    void LogSpeedButtonClick();
    void PFragentextanzeigenClick();
    void LFragentextanzeigenClick();
    void HilfePEditorClick();
    void PEbeendenClick();
    void MsgTimerTimer();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    static WindowGeometry::Keys geometryKeys();
    void createMenus();
    /// The page of the tab, one function per strip and control from top to bottom.
    QWidget *createPage();
    QWidget *createTopStrip(QWidget *page);
    QWidget *createLabelStrip(QWidget *page);
    QLayout *createLists(QWidget *page);
    QWidget *createButtonColumn(QWidget *page);
    void createPopupMenus();
    QWidget *createBottomStrip(QWidget *page);
    QWidget *createCommentEdit(QWidget *strip);
    QWidget *createCountChoice(QWidget *strip);
    QWidget *createMinutesEdit(QWidget *strip);
    /// Widths and columns of the lists follow the window's width.
    void FormResize();
    QToolButton *addButton(QWidget *parent, const QIcon &icon, const QString &hint,
                           void (TPEditorForm::*slot)());
    void setPanelColour(const QColor &colour);
    /// A command's text in the first panel stays while the pointer rests on the control
    /// it was given over (a drop-down's list closing makes it send its hint again).
    void holdStatusText();

    Uses m_uses;
    ExamEditor m_editor;
    QComboBox *m_part = nullptr;
    QListWidget *m_pool = nullptr;
    QListWidget *m_own = nullptr;
    QWidget *m_buttonPanel = nullptr;
    QLabel *m_poolLabel = nullptr;
    QLabel *m_ownLabel = nullptr;
    QWidget *m_labelStrip = nullptr;
    QLineEdit *m_comment = nullptr;
    QComboBox *m_count = nullptr;
    QLineEdit *m_minutes = nullptr;
    QLabel *m_nachricht = nullptr;
    QLabel *m_zeit = nullptr;
    QTimer m_msgTimer;
    WindowGeometry *m_geometry = nullptr;
    bool m_refreshing = false;
    /// The control whose hint came last, and the one whose hints wait while a command's
    /// text is shown (the window itself when no hint had come).
    QObject *m_hintSource = nullptr;
    QObject *m_hintSender = nullptr;
    QObject *m_heldOver = nullptr;
};
