#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class AnswerList;
class ClassPages;
class DataPaths;
class Evaluation;
class ExamTimer;
class LogPage;
class ProgressPage;
class RulesPages;
class Drill;
class SheetGenerator;
class Statistics;
class UserInterface;
struct Bogenzustand;

/// What pages and menus ask of the program: form submissions, intercepted links and the
/// examination commands of the menu.
class PageCommands
{
public:
    /// The pages the links reach: the log, the statistics, the class pages and the progress.
    struct Pages
    {
        LogPage &log;
        Statistics &statistics;
        ClassPages &classPages;
        ProgressPage *progress = nullptr;
        Drill *drill = nullptr;
        /// The installed pages that state the rules, made anew under the archive's rules.
        RulesPages *rulesPages = nullptr;
    };

    PageCommands(UserInterface &ui, Bogenzustand &bogen, SheetGenerator &sheets,
                 Evaluation &evaluation, ExamTimer &timer, AnswerList &answerList,
                 const DataPaths &paths, Pages pages)
        : m_ui(ui), m_bogen(bogen), m_sheets(sheets), m_evaluation(evaluation), m_timer(timer),
          m_answerList(answerList), m_paths(paths), m_pages(pages)
    {
    }

    /// A submitted form: "VexaT…"/"VexaU…" make a sheet, "VexaA" evaluates the sheet shown.
    /// An examination (own or not) with unanswered questions is evaluated only once the
    /// candidate agreed to unansweredQuestion; refused, the sheet stays as it is.
    void VexaHTMLViewerFormSubmit(const QString &action, const QStringList &results);
    /// The question before an examination with open questions is evaluated.
    static QString unansweredQuestion(int open);

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

    /// What lies a layer above the sheets: the wrong-questions lists and the download of
    /// the catalogue. An unset hook does nothing.
    struct Hooks
    {
        /// Returns true when the question was added.
        std::function<bool(QChar partLetter, QChar classLetter, const QString &id)>
            addWrongQuestion;
        /// The link DataPaths::downloadLinkName: fetching the official catalogue.
        std::function<void()> downloadCatalogue;
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
    Pages m_pages;
    Hooks m_hooks;
};
