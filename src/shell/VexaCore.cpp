#include "shell/VexaCore.h"

#include "backup/LearnerBackup.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueImport.h"
#include "catalogue/PageWriter.h"
#include "catalogue/RulesPages.h"
#include "catalogue/SectionDistribution.h"
#include "catalogue/Selection.h"
#include "components/RandomSource.h"
#include "components/UserInterface.h"
#include "learning/LearningStore.h"
#include "learning/ProgressPage.h"
#include "learning/ReadinessSection.h"
#include "lists/OwnExamination.h"
#include "lists/WrongQuestions.h"
#include "sheets/Drill.h"
#include "sheets/Evaluation.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageCommands.h"
#include "sheets/SheetGenerator.h"
#include "shell/AboutInfo.h"
#include "shell/SelectionSettings.h"
#include "statistics/AnswerList.h"
#include "statistics/ClassPages.h"
#include "statistics/ExamLog.h"
#include "statistics/LogPage.h"
#include "statistics/Statistics.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

VexaCore::VexaCore(Options options, UserInterface &ui)
    : m_paths(options.programDir, options.dataDir), m_portable(options.portable), m_ui(ui),
      m_random(options.random),
      m_clock(options.clock ? options.clock : Clock([] { return QDateTime::currentDateTime(); })),
      m_settings(m_paths.settingsFile()), m_learningStore(m_clock)
{
    if (!m_random)
        m_random = std::make_shared<RandomSource>(RandomSource::clockSeed());
    m_settings.file().setWriteErrorHandler(
        [this](const QString &message) { m_ui.ShowWarning(message); });

    m_writer = std::make_unique<PageWriter>(m_ui);
    m_catalogue = std::make_unique<Catalogue>(m_paths, m_ui, m_catalogueLines);
    m_selection = std::make_unique<Selection>(*m_catalogue, *m_random, m_paths, *m_writer, m_ui,
                                              m_selectedQuestions);
    m_sections = std::make_unique<SectionDistribution>(*m_catalogue, *m_selection, *m_random, m_ui);
    m_answerList = std::make_unique<AnswerList>(m_paths, *m_writer, m_ui, m_clock);
    m_examLog =
        std::make_unique<ExamLog>(m_paths, m_ui, m_logLines, m_bogen.EigenerPruefungsname, m_clock);
    m_logPage = std::make_unique<LogPage>(m_paths, m_ui, *m_writer, *m_examLog, m_clock);
    m_statistics = std::make_unique<Statistics>(m_paths, m_ui, *m_writer, *m_examLog,
                                                m_catalogue->rules(), m_clock);
    m_classPages =
        std::make_unique<ClassPages>(m_paths, *m_writer, *m_examLog, m_catalogue->rules(), m_clock);
    m_timer = std::make_unique<ExamTimer>(m_ui, m_bogen);
    m_sheets = std::make_unique<SheetGenerator>(SheetGenerator::Uses{
        m_ui, m_bogen, *m_catalogue, *m_selection, *m_sections, *m_answerList, *m_timer, *m_writer,
        m_settings, m_flags, m_paths, m_selectedQuestions, m_clock, m_learningStore, *m_random});
    m_evaluation = std::make_unique<Evaluation>(
        Evaluation::Uses{m_ui, m_bogen, *m_timer, *m_examLog, *m_writer, m_learningStore,
                         m_settings, m_paths, m_clock});
    m_progressPage = std::make_unique<ProgressPage>(m_paths, m_ui, *m_writer, *m_catalogue,
                                                    m_learningStore, m_clock);
    m_readiness = std::make_unique<ReadinessSection>(
        ReadinessSection::Uses{m_paths, *m_catalogue, m_learningStore, m_settings, m_clock});
    m_classPages->setSections(
        [this](QChar classLetter) { return m_readiness->lines(classLetter); });
    m_drill = std::make_unique<Drill>(
        Drill::Uses{m_ui, m_bogen, *m_catalogue, m_learningStore, *m_sheets, m_settings, m_clock});
    m_rulesPages = std::make_unique<RulesPages>(m_paths, m_ui, m_catalogue->rules());
    m_pageCommands = std::make_unique<PageCommands>(
        m_ui, m_bogen, *m_sheets, *m_evaluation, *m_timer, *m_answerList, m_paths,
        PageCommands::Pages{*m_logPage, *m_statistics, *m_classPages, m_progressPage.get(),
                            m_drill.get(), m_rulesPages.get()});
    m_wrongQuestions = std::make_unique<WrongQuestions>(m_paths, *m_writer, m_ui);
    m_ownExamination = std::make_unique<OwnExamination>(
        OwnExamination::Uses{m_ui, m_bogen, *m_catalogue, *m_selection, *m_sheets, m_paths,
                             m_selectedQuestions, m_flags});
    m_selectionSettings = std::make_unique<SelectionSettings>(m_flags, m_settings);
    m_aboutInfo = std::make_unique<AboutInfo>(m_paths, *m_catalogue, m_ui, m_portable);
    m_pageCommands->hooks().addWrongQuestion = [this](QChar partLetter, QChar classLetter,
                                                      const QString &id) {
        return m_wrongQuestions->FalscheFrageHinzufuegen(partLetter, classLetter, id);
    };
}

VexaCore::~VexaCore() = default;

void VexaCore::start()
{
    m_flags.Default = m_settings.value(Keys::defaultMode());
    m_flags.AskedList = m_settings.value(Keys::askedList());
    m_flags.Zufallszahlen = m_settings.value(Keys::zufallszahlen());
    m_flags.FVBNetzA = m_settings.value(Keys::fvbNetzA());
    m_flags.Fragenanordnung = m_settings.value(Keys::fragenanordnung());

    m_paths.setQuestionListsDir(
        m_settings.value(Keys::questionListsDir(), m_paths.defaultQuestionListsDir()));

    m_timer->stop();

    // First start: bring the archive into the data folder, as an installer would. A copy
    // that fails leaves no archive, which the first sheet reports.
    const QString archive = m_paths.archiveInDataDir();
    const QString installed = m_paths.installedArchive();
    if (!QFileInfo::exists(archive) && QFileInfo::exists(installed))
        (void)QFile::copy(installed, archive);
    m_paths.setCatalogueArchive(QFileInfo::exists(archive) ? archive : QString());
    // An archive imported while class A's technical part had 45 minutes gets its 60 here,
    // so nobody has to import again; a failure is told and the start goes on.
    QString repair;
    switch (CatalogueImport::repairRules(archive, &repair)) {
    case CatalogueImport::RulesRepair::Repaired:
        m_ui.Msg(repair);
        break;
    case CatalogueImport::RulesRepair::Failed:
        m_ui.ShowWarning(repair);
        break;
    case CatalogueImport::RulesRepair::Unchanged:
        break;
    }
    m_catalogue->rules().forget();

    m_catalogueLines.clear();
    m_selectedQuestions.clear();
    m_examLog->load();

    // The answer list of an earlier run belongs to no sheet of this one.
    QFile::remove(m_paths.answerListPage());
    m_ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
    m_bogen.EigenerPruefungsname.clear();

    openLearningStore();
    // The pages name the rules of this archive; a failure is told and the installed pages
    // show instead.
    (void)m_rulesPages->writeAll();
}

void VexaCore::openLearningStore()
{
    // A store already open on the same file stays: a second start must not pay for
    // opening and checking it again.
    const QString path = m_paths.learningStore();
    if (m_learningStore.isOpen() && m_learningStore.path() == path && QFileInfo::exists(path))
        return;
    QString message;
    switch (m_learningStore.open(path, &message)) {
    case LearningStore::OpenResult::Opened:
        break;
    case LearningStore::OpenResult::Replaced:
    case LearningStore::OpenResult::Failed:
        m_ui.ShowWarning(message);
        break;
    }
}

bool VexaCore::importCatalogue(const QString &path,
                               const CatalogueBuilder::FormulaRenderer &renderer,
                               CatalogueImport::Summary &summary)
{
    CatalogueImport import({m_paths, m_ui, renderer, m_clock});
    if (!import.import(path, summary))
        return false;
    // The run reads the new archive from now on.
    m_paths.setCatalogueArchive(m_paths.archiveInDataDir());
    m_catalogueLines.clear();
    m_catalogue->rules().forget();
    // The class pages show the new rules with the log's results; a page that cannot be
    // written has been reported and is written again when it is shown.
    (void)m_classPages->writeAll();
    (void)m_rulesPages->writeAll(); // told there; the installed pages show instead
    return true;
}

CatalogueDownload *VexaCore::downloadCatalogue(
    const CatalogueBuilder::FormulaRenderer &renderer,
    std::function<void(bool imported, const CatalogueImport::Summary &)> done,
    CatalogueDownload::Limits limits)
{
    if (m_download && m_download->outcome() == CatalogueDownload::Outcome::Running)
        return nullptr;
    const QString address = m_settings.value(Keys::catalogueAddress()).trimmed();
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || !CatalogueDownload::allowedAddress(url)) {
        m_ui.ShowWarning(QStringLiteral("Die Adresse des Fragenkatalogs \"%1\" ([Katalog] "
                                        "Adresse in %2) ist keine HTTPS-Adresse; Vexa lädt den "
                                        "Fragenkatalog nur über HTTPS.")
                             .arg(address, m_settings.path()));
        return nullptr;
    }
    if (!m_ui.confirm(QStringLiteral("Vexa lädt jetzt den amtlichen Fragenkatalog (ZIP-Archiv "
                                     "mit JSON-Datei und Bildern) aus dem Internet von\n\n%1\n\n"
                                     "herunter und liest ihn danach ein; er ersetzt den "
                                     "bisherigen Fragenkatalog. Herunterladen?")
                          .arg(url.toDisplayString())))
        return nullptr;

    m_download = std::make_unique<CatalogueDownload>(m_paths.downloadedCatalogue(), limits);
    CatalogueDownload *download = m_download.get();
    QObject::connect(download, &CatalogueDownload::finished, download,
                     [this, download, renderer, done](CatalogueDownload::Outcome outcome) {
                         CatalogueImport::Summary summary;
                         bool imported = false;
                         switch (outcome) {
                         case CatalogueDownload::Outcome::Downloaded: {
                             imported = importCatalogue(download->fileName(), renderer, summary);
                             QString error;
                             if (!imported)
                                 download->discard();
                             else if (!download->keep(&error))
                                 m_ui.ShowWarning(
                                     error); // the catalogue is in; only the copy is missing
                             break;
                         }
                         case CatalogueDownload::Outcome::Cancelled:
                             m_ui.Msg(download->errorMessage());
                             break;
                         case CatalogueDownload::Outcome::Failed:
                         case CatalogueDownload::Outcome::Running:
                             m_ui.ShowWarning(download->errorMessage());
                             break;
                         }
                         if (done)
                             done(imported, summary);
                     });
    download->start(url);
    return download;
}

bool VexaCore::saveLearnerData(const QString &zipPath, QString &report)
{
    return LearnerBackup(m_paths, m_ui, m_clock).write(zipPath, &report);
}

bool VexaCore::restoreLearnerData(const QString &zipPath, QString &report)
{
    LearnerBackup backup(m_paths, m_ui, m_clock);
    LearnerBackup::Content content;
    if (!backup.check(zipPath, content) || !m_ui.confirm(backup.question(content)))
        return false;
    // SQLite must not hold the file that is replaced.
    m_learningStore.close();
    if (!backup.replace(content, &report)) {
        openLearningStore();
        return false;
    }
    start();
    return true;
}

bool VexaCore::drill(QChar classLetter, const QString &chapter)
{
    return m_drill->make(classLetter, chapter);
}

bool VexaCore::shutdown()
{
    return m_settings.setValue(Keys::questionListsDir(), m_paths.questionListsDir());
}
