#include "statistics/ClassPages.h"

#include "catalogue/CatalogueRules.h"
#include "catalogue/DrillLink.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "statistics/ClassReadiness.h"
#include "statistics/ExamLog.h"

namespace {

/// "bereit für Klasse E", or what is still missing.
QString verdictText(const ClassReadiness &r)
{
    if (r.ready())
        return QStringLiteral("<font color=\"#00a000\"><b>bereit f&uuml;r Klasse ") + r.letter +
               QStringLiteral("</b></font>");
    return QStringLiteral("Es fehlt noch: ") +
           PageParts::text(r.missing().join(QStringLiteral(", ")));
}

QString statusCell(const ClassReadiness::Part &p)
{
    if (!p.taken)
        return QStringLiteral("noch nicht gepr&uuml;ft");
    return (p.passed ? QStringLiteral("<font color=\"#00a000\"><b>bestanden</b></font>")
                     : QStringLiteral("<font color=\"#d00000\"><b>nicht bestanden</b></font>")) +
           QStringLiteral("<br><small>") + p.code + u'/' + p.examNumber + QStringLiteral(" am ") +
           p.date + QStringLiteral(", ") + QString::number(p.right) + QStringLiteral(" richtig") +
           (p.late ? QStringLiteral(", Zeitlimit &uuml;berschritten") : QString()) +
           QStringLiteral("</small>");
}

} // namespace

QStringList ClassPages::pageLines(const DataPaths &paths, const ExamRules &rules, QChar classLetter,
                                  const QStringList &logLines, const QDateTime &when,
                                  const QStringList &sections)
{
    const QString c(classLetter);
    const ClassReadiness readiness = ClassReadiness::of(rules, classLetter, logLines);
    QStringList s;
    PageParts::appendColumnPageStart(s, QStringLiteral("Vexa - Pr&uuml;fungen Klasse ") + c,
                                     QStringLiteral("Pr&uuml;fungen Klasse ") + c,
                                     paths.siteStyleSheet());
    s << QStringLiteral("<p>Die Pr&uuml;fung der Klasse ") + c + QStringLiteral(" hat ") +
             QString::number(readiness.parts.size()) +
             QStringLiteral(" Teile; jeder wird f&uuml;r sich gepr&uuml;ft und bewertet. Ein "
                            "Klick auf <b>Pr&uuml;fung</b> erzeugt den Fragebogen des Teils mit "
                            "seinem Zeitlimit; die Auswertung kommt ins Pr&uuml;fungslog.</p>")
      << QStringLiteral("<table class=\"liste\">")
      << QStringLiteral("<tr><th>Pr&uuml;fungsteil</th><th>Fragen</th><th>Zeit</th>"
                        "<th>Bestanden ab</th><th>Letzte Pr&uuml;fung</th><th></th></tr>");
    for (const ClassReadiness::Part &p : readiness.parts) {
        const ExamRules::Part *rule = rules.part(p.code);
        if (!rule)
            continue;
        const ExamPart part = examPart(p.code.at(1), p.code.at(0), u'k', &rules);
        s << QStringLiteral("<tr><td bgcolor=\"") + part.middle + QStringLiteral("\">") +
                 PageParts::text(rule->title) + QStringLiteral("</td><td align=\"center\">") +
                 QString::number(rule->questions) + QStringLiteral("</td><td>") +
                 QString::number(rule->minutes) + QStringLiteral("&nbsp;Minuten</td><td>") +
                 QString::number(ExamRules::rightNeeded(rule->questions, rule->passMark)) +
                 QStringLiteral(" richtig (") + QString::number(rule->passMark) +
                 QStringLiteral("&nbsp;%)</td><td>") + statusCell(p) +
                 QStringLiteral("</td><td class=\"knopf\"><form action=\"VexaT") + p.code.at(1) +
                 QStringLiteral("\" method=\"post\"><input type=\"hidden\" name=\"teil\" "
                                "value=\"") +
                 p.code.at(0) +
                 QStringLiteral("\"><input type=\"submit\" value=\" Pr&uuml;fung \"></form>"
                                "</td></tr>");
    }
    s << QStringLiteral("</table>")
      << QStringLiteral("<div class=\"kasten\">") + verdictText(readiness) +
             QStringLiteral("</div>")
      // Beside the verdict, where practice is the next step.
      << QStringLiteral("<p>") +
             PageParts::link(DataPaths::progressPageName(), QStringLiteral("Lernstand ansehen")) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") +
             PageParts::link(DrillLink::name(classLetter), QStringLiteral("Lernen Klasse ") + c) +
             QStringLiteral("</p>");
    s += sections;

    // Where the candidate stands in every class, each linking its page.
    s << QStringLiteral("<h2>Alle Klassen</h2>") << QStringLiteral("<table class=\"liste\">");
    for (const ExamRules::ExamClass &other : rules.classes) {
        const ClassReadiness r = ClassReadiness::of(rules, other.letter, logLines);
        s << QStringLiteral("<tr><td nowrap>") +
                 PageParts::fileLink(paths.examinationPage(other.letter),
                                     QStringLiteral("Klasse ") + other.letter) +
                 QStringLiteral("</td><td>") + verdictText(r) + QStringLiteral("</td></tr>");
    }
    s << QStringLiteral("</table>");

    s << QStringLiteral("<div class=\"kasten\">") +
             PageParts::fileLink(paths.generatedTrainingPage(classLetter),
                                 QStringLiteral("Training Klasse ") + c) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") +
             PageParts::fileLink(paths.statisticsLink(classLetter),
                                 QStringLiteral("Statistik Klasse ") + c) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") +
             PageParts::fileLink(paths.logPage(), QStringLiteral("Pr&uuml;fungslog")) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") +
             PageParts::fileLink(paths.startPage(), QStringLiteral("Home")) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") + PageParts::topLink() +
             QStringLiteral("</div>")
      << QStringLiteral("<p align=\"right\"><small>") + PageParts::stamp(when) +
             QStringLiteral("</small></p>");
    PageParts::appendColumnPageEnd(s);
    return s;
}

QString ClassPages::unknownClassMessage(QChar classLetter)
{
    return QStringLiteral("Der Fragenkatalog kennt die Klasse ") + classLetter +
           QStringLiteral(" nicht. Bitte zuerst den amtlichen Fragenkatalog importieren (Datei, "
                          "Fragenkatalog importieren).");
}

ClassPages::Outcome ClassPages::show(QChar classLetter)
{
    const ExamRules &rules = m_rules.current();
    if (!rules.examClass(classLetter))
        return Outcome::NoRules;
    return m_writer.SeiteSpeichernUndZeigen(
               m_paths.generatedClassPage(classLetter),
               pageLines(m_paths, rules, classLetter, m_log.lines(), m_clock(),
                         m_sections ? m_sections(classLetter) : QStringList()))
               ? Outcome::Shown
               : Outcome::Failed;
}

bool ClassPages::writeAll()
{
    const ExamRules &rules = m_rules.current();
    for (const ExamRules::ExamClass &c : rules.classes)
        if (!m_writer.saveLines(m_paths.generatedClassPage(c.letter),
                                pageLines(m_paths, rules, c.letter, m_log.lines(), m_clock(),
                                          m_sections ? m_sections(c.letter) : QStringList())))
            return false;
    return true;
}
