#pragma once

#include "catalogue/StringList.h"
#include "sheets/Bogenzustand.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AnswerList;
class Catalogue;
class Evaluation;
class ExamLog;
class ExamTimer;
class IniFile;
class PageCommands;
class RandomSource;
class SectionDistribution;
class Selection;
class SheetGenerator;
class UserInterface;

/// The selection flags of section Einstellungen, read at start and changed by the
/// settings window; read by the selection at the moment a sheet is made.
struct SelectionFlags
{
    bool Default = true;
    bool AskedList = false;
    bool Zufallszahlen = false;
    bool FVBNetzA = false;
    bool Fragenanordnung = false;
};

/// Everything of one run that needs no window: paths, the settings file, the shared
/// lists, the current-sheet state and the operations on them. The main window owns one
/// and talks to the user for it through UserInterface.
class VexaCore
{
public:
    using Clock = std::function<QDateTime()>;

    struct Options
    {
        QString programDir; ///< installed files, without trailing "/"
        QString dataDir;    ///< the user's data, without trailing "/"
        bool portable = false;
        /// Defaults to a generator seeded once from the clock.
        std::shared_ptr<RandomSource> random;
        /// Defaults to the local time.
        Clock clock;
    };

    VexaCore(Options options, UserInterface &ui);
    ~VexaCore();
    VexaCore(const VexaCore &) = delete;
    VexaCore &operator=(const VexaCore &) = delete;

    /// The start-up steps that need no window: reads the selection flags and the
    /// question lists folder, copies the archive from the program folder when the data
    /// folder lacks it, settles CatalogueArchivePath, loads the exam log, deletes a
    /// stale answer list and disables the Antwortenliste command.
    void start();

    /// Writes the question lists folder (shutdown; window geometry is the windows' own).
    void shutdown();

    // Paths
    QString programDir() const { return m_programDir; }
    QString dataDir() const { return m_dataDir; }
    bool portable() const { return m_portable; }
    QString logPath() const { return m_dataDir + QStringLiteral("/Vexa.log"); }
    QString htmlDir() const { return m_dataDir + QStringLiteral("/html"); }
    QString catalogueArchivePath() const { return m_catalogueArchivePath; }
    void setCatalogueArchivePath(const QString &path) { m_catalogueArchivePath = path; }
    QString questionListsDir() const { return m_questionListsDir; }
    void setQuestionListsDir(const QString &dir) { m_questionListsDir = dir; }

    // Shared state
    IniFile &settings() { return *m_settings; }
    SelectionFlags &flags() { return m_flags; }
    QStringList &CatalogueLines() { return m_catalogueLines; }
    StringList &SelectedQuestions() { return m_selectedQuestions; }
    QStringList &LogLines() { return m_logLines; }
    Bogenzustand &bogen() { return m_bogen; }
    UserInterface &ui() { return m_ui; }
    RandomSource &random() { return *m_random; }
    QDateTime now() const { return m_clock(); }

    // Operations
    Catalogue &catalogue() { return *m_catalogue; }
    Selection &selection() { return *m_selection; }
    SectionDistribution &sections() { return *m_sections; }
    SheetGenerator &sheets() { return *m_sheets; }
    Evaluation &evaluation() { return *m_evaluation; }
    ExamTimer &timer() { return *m_timer; }
    ExamLog &examLog() { return *m_examLog; }
    AnswerList &answerList() { return *m_answerList; }
    PageCommands &pageCommands() { return *m_pageCommands; }

    /// Replaces a file with the lines (Windows-1252, CR LF, atomically). When that fails
    /// the old file stays, the warning "Die Datei <path> kann nicht geschrieben werden
    /// (<reason>)." is shown and false is returned.
    bool saveLines(const QString &path, const QStringList &lines);

    /// Writes a generated page (Windows-1252, CR LF, atomically) and shows it at "#top";
    /// the caption follows the page's title once shown, and the viewer takes the focus. A page that
    /// cannot be written is reported with a warning and not shown; returns false then.
    bool SeiteSpeichernUndZeigen(const QString &path, const QStringList &lines);

    /// "Vexa &nbsp;" signature pieces of generated pages.
    static QString companyName();
    static QString authorMail();
    static QString programVersion();

private:
    QString m_programDir;
    QString m_dataDir;
    bool m_portable;
    QString m_catalogueArchivePath;
    QString m_questionListsDir;
    UserInterface &m_ui;
    std::shared_ptr<RandomSource> m_random;
    Clock m_clock;
    std::unique_ptr<IniFile> m_settings;
    SelectionFlags m_flags;
    QStringList m_catalogueLines;
    StringList m_selectedQuestions{true};
    QStringList m_logLines;
    Bogenzustand m_bogen;

    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<SectionDistribution> m_sections;
    std::unique_ptr<SheetGenerator> m_sheets;
    std::unique_ptr<Evaluation> m_evaluation;
    std::unique_ptr<ExamTimer> m_timer;
    std::unique_ptr<ExamLog> m_examLog;
    std::unique_ptr<AnswerList> m_answerList;
    std::unique_ptr<PageCommands> m_pageCommands;
};
