#include "sheets/PageCommands.h"

#include "catalogue/DrillLink.h"
#include "catalogue/ExamPart.h"
#include "catalogue/RulesPages.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"
#include "learning/ProgressPage.h"
#include "sheets/Bogenzustand.h"
#include "sheets/Drill.h"
#include "sheets/Evaluation.h"
#include "sheets/ExamTimer.h"
#include "sheets/SheetGenerator.h"
#include "statistics/AnswerList.h"
#include "statistics/ClassPages.h"
#include "statistics/LogPage.h"
#include "statistics/Statistics.h"

#include <QFileInfo>

using Panel = UserInterface::Panel;

namespace {

// The ID starts the link's file name, whether the page links "TA109.qff" or a file URL.
QString linkedId(const QString &target)
{
    return target.section(u'/', -1).left(5);
}

} // namespace

QString PageCommands::unansweredQuestion(int open)
{
    return open == 1 ? QStringLiteral("Es ist noch 1 Frage unbeantwortet. Trotzdem auswerten?")
                     : QStringLiteral("Es sind noch %1 Fragen unbeantwortet. Trotzdem auswerten?")
                           .arg(open);
}

void PageCommands::VexaHTMLViewerFormSubmit(const QString &action, const QStringList &results)
{
    if (action.size() < 5)
        return;
    Bogenzustand &b = m_bogen;
    const QChar command = action.at(4).toUpper();

    if (command == u'T' || command == u'U') {
        if (action.size() < 6 || results.isEmpty() || results.at(0).size() < 6)
            return;
        if (command == u'U' && results.size() < 2)
            return;
        b.Klasse = action.at(5).toUpper();
        b.Teil = results.at(0).at(5).toUpper();
        if (command == u'T') {
            b.Bogenart = u'k';
            b.NavigationErwartet = true;
            b.EigenerPruefungsname.clear();
            m_sheets.FragebogenErstellen(b.Teil, b.Klasse, b.Bogenart, QString(),
                                         b.PruefungsNummer);
        } else {
            b.Abschnitt = results.at(1).mid(10, 3).toUpper();
            b.Bogenart = u't';
            m_sheets.FragebogenErstellen(b.Teil, b.Klasse, b.Bogenart, b.Abschnitt,
                                         b.PruefungsNummer);
        }
    } else if (command == u'A') {
        // A sheet left from before this run has no state to be judged against.
        if (b.Bogenart.isNull())
            return;
        // An examination is judged once; an unanswered question is a lost point.
        const int open = b.Fragenzahl - Evaluation::BeantworteteZaehlen(results);
        if ((b.Bogenart == u'k' || b.Bogenart == u'a') && open > 0 &&
            !m_ui.confirm(unansweredQuestion(open)))
            return;
        b.NavigationErwartet = true;
        ExamPart part = b.part;
        part.modeLetter = b.Bogenart;
        b.evaluatedPart = part;
        m_evaluation.BogenAuswerten(part, b.PruefungsNummer, b.Abschnitt, results);
        b.Bogenart = u't';
    }
}

bool PageCommands::VexaHTMLViewerHotSpotClick(const QString &target)
{
    Bogenzustand &b = m_bogen;
    UserInterface &ui = m_ui;
    const QString lower = target.toLower();

    // The viewer hands over the link as a path or file URL beside the page.
    const QString linkName = target.section(u'/', -1).section(u'#', 0, 0).section(u'?', 0, 0);
    if (linkName == DataPaths::downloadLinkName()) {
        if (m_hooks.downloadCatalogue)
            m_hooks.downloadCatalogue();
        return true;
    }
    if (target.contains(DataPaths::logPageName())) {
        // Handled once built: the installed pages link the name beside themselves, where
        // the viewer would find no such file and replace the log page with an error.
        (void)m_pages.log.LogSpeedButtonClick(); // failures are told there
        return true;
    }
    if (m_pages.progress) {
        if (ProgressPage::isResetLink(target) && m_pages.progress->reset(target))
            return true;
        if (target.contains(DataPaths::progressPageName())) {
            (void)m_pages.progress->show(); // failures are told there
            return true;
        }
    }
    QChar drillClass;
    QString drillChapter;
    if (m_pages.drill && DrillLink::parse(target, drillClass, drillChapter)) {
        (void)m_pages.drill->make(drillClass, drillChapter); // failures are told there
        return true;
    }
    if (m_pages.drill && DrillLink::looksLikeLink(target)) {
        ui.ShowWarning(DrillLink::brokenLinkMessage(target));
        return true;
    }
    if (target.contains(QLatin1String("Infobox"))) {
        ui.showAbout();
        return true;
    }
    // The start, Prüfungen, training and help pages state the rules in force.
    if (m_pages.rulesPages) {
        const QString page = m_pages.rulesPages->replacement(target);
        if (!page.isEmpty()) {
            ui.showPage(page);
            return true;
        }
    }
    // An imported catalogue brings training pages of its own in the data folder.
    for (const QChar c : {u'A', u'E', u'N'}) {
        const QString generated = m_paths.generatedTrainingPage(c);
        if (lower.contains(DataPaths::trainingPageName(c.toLower())) &&
            QFileInfo::exists(generated) && QFileInfo(target) != QFileInfo(generated)) {
            ui.showPage(generated + QStringLiteral("#top"));
            return true;
        }
    }
    // ... and its examination pages follow its rules and the log.
    for (const QChar c : {u'A', u'E', u'N'}) {
        if (lower.contains(DataPaths::classPageName(c.toLower())) &&
            m_pages.classPages.show(c) != ClassPages::Outcome::NoRules)
            return true;
    }
    for (const QChar c : {u'A', u'E', u'N'}) {
        if (lower.contains(DataPaths::statisticsPageName(c.toLower()))) {
            (void)m_pages.statistics.StatistikAnzeigen(c); // failures are told there
            return true;
        }
    }
    const QString id = linkedId(target);
    // Links of an evaluation page belong to the evaluated sheet; before any evaluation of
    // this run the sheet state is all there is.
    const bool evaluated = !b.evaluatedPart.partLetter.isNull();
    const QChar partLetter = evaluated ? b.evaluatedPart.partLetter : b.Teil;
    const QChar classLetter = evaluated ? b.evaluatedPart.classLetter : b.Klasse;
    if (target.contains(QLatin1String(".qst"))) {
        ui.showQuestion(id);
        return false;
    }
    if (target.contains(QLatin1String(".qff"))) {
        if (m_hooks.addWrongQuestion && m_hooks.addWrongQuestion(partLetter, classLetter, id))
            ui.setPanelText(Panel::Nachricht,
                            QStringLiteral(" ") + id + QStringLiteral(" hinzugefügt"));
        return false;
    }
    if (target.contains(QLatin1String(".sln"))) {
        const QString path = m_paths.solution(classLetter, id);
        const int code = ui.openDocument(path);
        if (code == 87)
            ui.setPanelText(Panel::Nachricht, QStringLiteral("[87] Kein PDF-Reader gefunden"));
        else if (code != 0)
            ui.setPanelText(Panel::Nachricht,
                            QStringLiteral("[%1] %2 nicht gefunden").arg(code).arg(path));
        return false;
    }
    if (target.contains(QLatin1String("#top")))
        b.NavigationErwartet = true;
    return false;
}

void PageCommands::VexaHTMLViewerHotSpotCovered(const QString &target)
{
    UserInterface &ui = m_ui;
    ui.setPanelText(Panel::Nachricht, QStringLiteral(" ") + target);
    if (!m_timer.isRunning())
        ui.setPanelText(Panel::Zeit, QStringLiteral(" "));
}

void PageCommands::examination(QChar partLetter, QChar classLetter)
{
    Bogenzustand &b = m_bogen;
    b.Teil = partLetter;
    b.Klasse = classLetter;
    b.Bogenart = u'k';
    b.EigenerPruefungsname.clear();
    m_sheets.FragebogenErstellen(partLetter, classLetter, b.Bogenart, QString(), b.PruefungsNummer);
}

void PageCommands::K2TechnikClick()
{
    examination(u'T', u'A');
}

void PageCommands::K3TechnikClick()
{
    examination(u'T', u'E');
}

void PageCommands::KNTechnikClick()
{
    examination(u'T', u'N');
}

void PageCommands::K2BetriebClick()
{
    examination(u'B', u'E');
}

void PageCommands::K2VorschriftenClick()
{
    examination(u'V', u'E');
}

void PageCommands::AntwortenlisteClick()
{
    const QString path = m_answerList.path();
    if (QFileInfo(path).isFile())
        m_ui.showPage(path + QStringLiteral("#top"));
}
