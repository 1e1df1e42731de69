#pragma once

#include <QStringList>
#include <QWidget>

#include "catalogue/ExamPart.h"
#include "gui/WindowGeometry.h"

class DataPaths;
class PageWriter;
class QLabel;
class Settings;
class VexaHTMLViewer;
struct Bogenzustand;

/// The question-and-answer window: one question of the catalogue with its right answer,
/// in a page viewer of its own. It rebuilds its page whenever it becomes active; any link
/// click hides it.
class TFragenForm : public QWidget
{
    Q_OBJECT

public:
    /// What the window reads: the loaded catalogue entry (CatalogueLines), the sheet state
    /// for the part's colours, and where pages and its position keys go.
    struct Uses
    {
        const QStringList &catalogueLines;
        const Bogenzustand &bogen;
        const DataPaths &paths;
        PageWriter &writer;
        Settings &settings;
    };

    /// Creates the window hidden, at the position and size of its settings keys.
    explicit TFragenForm(Uses uses, QWidget *parent = nullptr);
    ~TFragenForm() override;

    /// Shows the window with the question of the given ID and makes it the active one. The
    /// question is looked up in CatalogueLines and coloured as the sheet's part.
    void showQuestion(const QString &id);
    /// The same for a question of the exam editor, looked up in its pool's lines and
    /// coloured as its part, whatever the main window loads meanwhile.
    void showQuestion(const QString &id, const QStringList &catalogueLines, const ExamPart &part);
    QString questionId() const { return m_id; }
    VexaHTMLViewer *viewer() const { return m_viewer; }
    QLabel *statusPanel() const { return m_status; }

    /// Writes FragenTop, FragenLeft, FragenWidth and FragenHeight (program end). False
    /// after the first refused write (reported by the settings file).
    [[nodiscard]] bool writeGeometry();

public slots:
    /// Builds LetzteFrage.html for the question and shows it, unless that page is on
    /// screen already. A question the catalogue lines do not hold, or a page that cannot
    /// be written, leaves the page shown before.
    void FormActivate();
    void FragenHTMLViewerHotSpotClick(const QString &target, bool *handled);
    /// The main window's hints, in the window's status panel.
    void showHint(const QString &hint);

protected:
    bool event(QEvent *event) override;

private:
    static WindowGeometry::Keys geometryKeys();
    void present();

    Uses m_uses;
    QString m_id;
    /// Set while the question is the editor's: its lines and part, kept here.
    bool m_ownSource = false;
    QStringList m_ownLines;
    ExamPart m_ownPart;
    /// The page on screen; an activation that would build the same page does nothing.
    QStringList m_shownLines;
    VexaHTMLViewer *m_viewer = nullptr;
    QLabel *m_status = nullptr;
    WindowGeometry *m_geometry = nullptr;
};
