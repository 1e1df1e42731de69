#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class AnswerList;
class DataPaths;
class Evaluation;
class ExamTimer;
class SheetGenerator;
class UserInterface;
struct Bogenzustand;

/// What pages and menus ask of the program: form submissions, intercepted links and the
/// examination commands of the menu.
class PageCommands
{
public:
    PageCommands(UserInterface &ui, Bogenzustand &bogen, SheetGenerator &sheets,
                 Evaluation &evaluation, ExamTimer &timer, AnswerList &answerList,
                 const DataPaths &paths)
        : m_ui(ui), m_bogen(bogen), m_sheets(sheets), m_evaluation(evaluation), m_timer(timer),
          m_answerList(answerList), m_paths(paths)
    {
    }

    void VexaHTMLViewerFormSubmit(const QString &action, const QStringList &results);

    /// Returns the handled flag: true keeps the viewer from following the link.
    bool VexaHTMLViewerHotSpotClick(const QString &target);

    void VexaHTMLViewerHotSpotCovered(const QString &target);

    void K2TechnikClick();
    void K3TechnikClick();
    void K2BetriebClick();
    void K2VorschriftenClick();
    /// Technical knowledge of class N; the archive's rules must describe the part.
    void KNTechnikClick();

    /// Shows the answer list of the last sheet, when it exists.
    void AntwortenlisteClick();

    /// Hooks for commands of windows that arrive later (log page, statistics, class pages,
    /// wrong-questions list). Unset hooks do nothing.
    struct Hooks
    {
        std::function<void()> showLog;
        /// The statistics of class A, E or N.
        std::function<void(QChar classLetter)> statistik;
        /// Shows the class's examination page under the archive's rules; false when the
        /// archive has none, and the installed page is to be followed.
        std::function<bool(QChar classLetter)> showClassPage;
        /// Returns true when the question was added.
        std::function<bool(QChar partLetter, QChar classLetter, const QString &id)>
            addWrongQuestion;
    };
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    /// For setting one hook and keeping the others.
    Hooks &hooks() { return m_hooks; }

private:
    void examination(QChar partLetter, QChar classLetter);

    UserInterface &m_ui;
    Bogenzustand &m_bogen;
    SheetGenerator &m_sheets;
    Evaluation &m_evaluation;
    ExamTimer &m_timer;
    AnswerList &m_answerList;
    const DataPaths &m_paths;
    Hooks m_hooks;
};
