#include "shell/VexaCore.h"

#include "catalogue/Catalogue.h"
#include "catalogue/SectionDistribution.h"
#include "catalogue/Selection.h"
#include "catalogue/TextFile.h"
#include "sheets/Evaluation.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageCommands.h"
#include "sheets/SheetGenerator.h"
#include "shell/IniFile.h"
#include "shell/RandomSource.h"
#include "shell/UserInterface.h"
#include "statistics/AnswerList.h"
#include "statistics/ExamLog.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kSettings = QStringLiteral("Einstellungen");
const QString kArchiveName = QStringLiteral("ZIROdazud.qst");
} // namespace

VexaCore::VexaCore(Options options, UserInterface &ui)
    : m_programDir(options.programDir), m_dataDir(options.dataDir), m_portable(options.portable),
      m_ui(ui), m_random(options.random), m_clock(options.clock)
{
    if (!m_random)
        m_random = std::make_shared<RandomSource>(RandomSource::clockSeed());
    if (!m_clock)
        m_clock = [] { return QDateTime::currentDateTime(); };
    m_settings = std::make_unique<IniFile>(m_dataDir + QStringLiteral("/Vexa.ini"));
    m_settings->setWriteErrorHandler([this](const QString &message) { m_ui.ShowWarning(message); });

    m_catalogue = std::make_unique<Catalogue>(*this);
    m_selection = std::make_unique<Selection>(*this);
    m_sections = std::make_unique<SectionDistribution>(*this);
    m_sheets = std::make_unique<SheetGenerator>(*this);
    m_evaluation = std::make_unique<Evaluation>(*this);
    m_timer = std::make_unique<ExamTimer>(*this);
    m_examLog = std::make_unique<ExamLog>(*this);
    m_answerList = std::make_unique<AnswerList>(*this);
    m_pageCommands = std::make_unique<PageCommands>(*this);
}

VexaCore::~VexaCore() = default;

void VexaCore::start()
{
    m_flags.Default = m_settings->ReadBool(kSettings, QStringLiteral("Default"), true);
    m_flags.AskedList = m_settings->ReadBool(kSettings, QStringLiteral("AskedList"), false);
    m_flags.Zufallszahlen = m_settings->ReadBool(kSettings, QStringLiteral("Zufallszahlen"), false);
    m_flags.FVBNetzA = m_settings->ReadBool(kSettings, QStringLiteral("FVBNetzA"), false);
    m_flags.Fragenanordnung =
        m_settings->ReadBool(kSettings, QStringLiteral("Fragenanordnung"), false);

    m_questionListsDir =
        m_settings->ReadString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"),
                               m_dataDir + QStringLiteral("/Fragen"));

    m_timer->stop();

    // First start: bring the archive into the data folder, as an installer would.
    const QString archive = m_dataDir + QStringLiteral("/Fragen/") + kArchiveName;
    const QString installed = m_programDir + QStringLiteral("/Fragen/") + kArchiveName;
    if (!QFileInfo::exists(archive) && QFileInfo::exists(installed))
        QFile::copy(installed, archive);
    m_catalogueArchivePath = QFileInfo::exists(archive) ? archive : QString();

    m_catalogueLines.clear();
    m_selectedQuestions.clear();
    m_logLines.clear();
    TextFile::readLines(logPath(), m_logLines);

    QFile::remove(htmlDir() + QStringLiteral("/LetzteAntworten.html"));
    m_ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
    m_bogen.EigenerPruefungsname.clear();
}

void VexaCore::shutdown()
{
    m_settings->WriteString(QStringLiteral("Verzeichnis"), QStringLiteral("Fragen"),
                            m_questionListsDir);
}

bool VexaCore::saveLines(const QString &path, const QStringList &lines)
{
    QString reason;
    if (TextFile::writeLines(path, lines, &reason))
        return true;
    m_ui.ShowWarning(
        QStringLiteral("Die Datei %1 kann nicht geschrieben werden (%2).").arg(path, reason));
    return false;
}

bool VexaCore::SeiteSpeichernUndZeigen(const QString &path, const QStringList &lines)
{
    if (!saveLines(path, lines))
        return false;
    // The caption follows the page's title once the viewer has shown it.
    m_ui.showPage(path + QStringLiteral("#top"));
    m_ui.focusViewer();
    return true;
}

QString VexaCore::companyName()
{
    return QStringLiteral("Ostravello");
}

QString VexaCore::authorMail()
{
    return QStringLiteral("vexa@ostravello.example");
}

QString VexaCore::programVersion()
{
    return QStringLiteral(VEXA_VERSION);
}
