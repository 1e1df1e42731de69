#pragma once

#include "catalogue/CatalogueDownload.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/SelectionFlags.h"
#include "catalogue/StringList.h"
#include "components/Clock.h"
#include "components/DataPaths.h"
#include "components/Settings.h"
#include "learning/LearningStore.h"
#include "sheets/Bogenzustand.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class AboutInfo;
class AnswerList;
class Catalogue;
class ClassPages;
class Evaluation;
class ExamLog;
class ExamTimer;
class LearningStore;
class LogPage;
class OwnExamination;
class PageCommands;
class PageWriter;
class ProgressPage;
class ReadinessSection;
class Drill;
class RandomSource;
class RulesPages;
class SectionDistribution;
class Selection;
class SelectionSettings;
class Statistics;
class SheetGenerator;
class UserInterface;
class WrongQuestions;

/// Everything of one run that needs no window: paths, the settings file, the shared
/// lists, the current-sheet state and the operations on them, each given what it uses.
/// The main window owns one and talks to the user for it through UserInterface.
class VexaCore
{
public:
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
    /// folder lacks it, settles the archive path, loads the exam log, deletes a stale
    /// answer list and disables the Antwortenliste command.
    /// It also opens the learning store; a damaged or unusable store is told once
    /// and the run goes on without it (or with a new one).
    void start();

    /// Imports the official catalogue at path (CatalogueImport::import, with the renderer
    /// for its formulas) and moves the run to the new archive: the catalogue lines are read
    /// anew from it and the class pages follow its rules. A refused import has been reported
    /// and changes nothing; false then.
    [[nodiscard]] bool importCatalogue(const QString &path,
                                       const CatalogueBuilder::FormulaRenderer &renderer,
                                       CatalogueImport::Summary &summary);

    /// Asks (naming the address of [Katalog] Adresse) and downloads the official catalogue,
    /// then imports it as importCatalogue does; only an imported archive is kept, as
    /// DataPaths::downloadedCatalogue. done is called once at the end with whether the import
    /// succeeded; every failure has been told by then (a cancel in the status bar) and left
    /// the data folder as it was. Returns the running download, for its progress and cancel;
    /// nullptr when the candidate declined, the address is refused (told) or a download runs.
    CatalogueDownload *
    downloadCatalogue(const CatalogueBuilder::FormulaRenderer &renderer,
                      std::function<void(bool imported, const CatalogueImport::Summary &)> done,
                      CatalogueDownload::Limits limits = {});
    /// Writes the learner's data to a backup at zipPath (LearnerBackup). False after a
    /// warning; else report says what was saved.
    [[nodiscard]] bool saveLearnerData(const QString &zipPath, QString &report);
    /// Restores the backup at zipPath once the user agreed, and goes on with it as after a
    /// start: settings, log, lists folder and learning store are read anew. False after a
    /// warning or a refusal, with nothing changed; else report says what was restored.
    [[nodiscard]] bool restoreLearnerData(const QString &zipPath, QString &report);

    /// Makes and shows the drill sheet of a class, or of one chapter (DrillLink::chapterName).
    /// False after a warning when there is nothing to make it from.
    bool drill(QChar classLetter, const QString &chapter = QString());

    /// Writes the question lists folder (shutdown; window geometry is the windows' own).
    /// False when the settings file could not be written (reported).
    [[nodiscard]] bool shutdown();

    DataPaths &paths() { return m_paths; }
    const DataPaths &paths() const { return m_paths; }
    bool portable() const { return m_portable; }

    // Shared state
    Settings &settings() { return m_settings; }
    SelectionFlags &flags() { return m_flags; }
    QStringList &CatalogueLines() { return m_catalogueLines; }
    StringList &SelectedQuestions() { return m_selectedQuestions; }
    QStringList &LogLines() { return m_logLines; }
    Bogenzustand &bogen() { return m_bogen; }
    UserInterface &ui() { return m_ui; }
    RandomSource &random() { return *m_random; }
    QDateTime now() const { return m_clock(); }
    LearningStore &learningStore() { return m_learningStore; }

    // Operations
    PageWriter &writer() { return *m_writer; }
    Catalogue &catalogue() { return *m_catalogue; }
    Selection &selection() { return *m_selection; }
    SectionDistribution &sections() { return *m_sections; }
    SheetGenerator &sheets() { return *m_sheets; }
    Evaluation &evaluation() { return *m_evaluation; }
    ExamTimer &timer() { return *m_timer; }
    ExamLog &examLog() { return *m_examLog; }
    AnswerList &answerList() { return *m_answerList; }
    LogPage &logPage() { return *m_logPage; }
    Statistics &statistics() { return *m_statistics; }
    ClassPages &classPages() { return *m_classPages; }
    PageCommands &pageCommands() { return *m_pageCommands; }
    WrongQuestions &wrongQuestions() { return *m_wrongQuestions; }
    OwnExamination &ownExamination() { return *m_ownExamination; }
    SelectionSettings &selectionSettings() { return *m_selectionSettings; }
    AboutInfo &aboutInfo() { return *m_aboutInfo; }
    ProgressPage &progressPage() { return *m_progressPage; }
    Drill &drills() { return *m_drill; }
    /// The start, Prüfungen, training and help pages under the rules in force.
    RulesPages &rulesPages() { return *m_rulesPages; }

private:
    void openLearningStore();

    DataPaths m_paths;
    bool m_portable;
    UserInterface &m_ui;
    std::shared_ptr<RandomSource> m_random;
    Clock m_clock;
    Settings m_settings;
    SelectionFlags m_flags;
    QStringList m_catalogueLines;
    StringList m_selectedQuestions{true};
    QStringList m_logLines;
    Bogenzustand m_bogen;
    LearningStore m_learningStore;

    std::unique_ptr<PageWriter> m_writer;
    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<SectionDistribution> m_sections;
    std::unique_ptr<AnswerList> m_answerList;
    std::unique_ptr<ExamLog> m_examLog;
    std::unique_ptr<LogPage> m_logPage;
    std::unique_ptr<Statistics> m_statistics;
    std::unique_ptr<ClassPages> m_classPages;
    std::unique_ptr<RulesPages> m_rulesPages;
    std::unique_ptr<ExamTimer> m_timer;
    std::unique_ptr<SheetGenerator> m_sheets;
    std::unique_ptr<Evaluation> m_evaluation;
    std::unique_ptr<PageCommands> m_pageCommands;
    std::unique_ptr<WrongQuestions> m_wrongQuestions;
    std::unique_ptr<OwnExamination> m_ownExamination;
    std::unique_ptr<SelectionSettings> m_selectionSettings;
    std::unique_ptr<AboutInfo> m_aboutInfo;
    std::unique_ptr<ProgressPage> m_progressPage;
    std::unique_ptr<ReadinessSection> m_readiness;
    std::unique_ptr<Drill> m_drill;
    std::unique_ptr<CatalogueDownload> m_download;
};
