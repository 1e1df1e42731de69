#include "catalogue/TrainingPages.h"

#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "components/DataPaths.h"

namespace TrainingPages {

namespace {

void appendPart(QStringList &s, const QString &heading, const QString &colour, QChar partLetter,
                QChar formClass, const QList<CatalogueBuilder::Group> &groups)
{
    s << QStringLiteral("<table class=\"liste\">")
      << QStringLiteral("<tr><th colspan=\"4\" bgcolor=\"") + colour + QStringLiteral("\">") +
             heading + QStringLiteral("</th></tr>");
    for (const CatalogueBuilder::Group &group : groups) {
        for (int k = 1; (k - 1) * sectionSize < group.size && k <= 9; ++k) {
            const QString code = group.code + QString::number(k);
            const int first = (k - 1) * sectionSize + 1;
            const int last = qMin(k * sectionSize, group.size);
            s << QStringLiteral("<tr><td class=\"code\">") + code + QStringLiteral("</td><td>") +
                     PageParts::text(group.title) +
                     QStringLiteral("</td><td class=\"bereich\">Fragen ") + QString::number(first) +
                     QStringLiteral("&ndash;") + QString::number(last) +
                     QStringLiteral("</td><td class=\"knopf\"><form action=\"VexaU") + formClass +
                     QStringLiteral("\" method=\"post\"><input type=\"hidden\" name=\"teil\" "
                                    "value=\"") +
                     partLetter +
                     QStringLiteral("\"><input type=\"hidden\" name=\"abschnitt\" value=\"") +
                     code + QStringLiteral("\"><input type=\"submit\" value=\" Training ") + code +
                     QStringLiteral(" \"></form></td></tr>");
        }
    }
    s << QStringLiteral("</table>");
}

} // namespace

QStringList pageLines(const DataPaths &paths, const ExamRules &rules, QChar classLetter,
                      const QMap<QString, QList<CatalogueBuilder::Group>> &groups,
                      const QString &edition)
{
    const QString c(classLetter);
    const QString pd = paths.programDir();
    QStringList s;
    PageParts::appendColumnPageStart(s, QStringLiteral("Vexa - Training Klasse ") + c,
                                     QStringLiteral("Training Klasse ") + c,
                                     pd + QStringLiteral("/css/vexa.css"));
    s << QStringLiteral("<p>Amtlicher Fragenkatalog, ") + PageParts::text(edition) +
             QStringLiteral(". Jeder Abschnitt enth&auml;lt bis zu 40 Fragen eines Kapitels. "
                            "Ein Klick auf <b>Training</b> erzeugt den Fragebogen des "
                            "Abschnitts, ohne Zeitlimit und ohne Eintrag im "
                            "Pr&uuml;fungslog.</p>");
    const QStringList codes = rules.pageOrder(classLetter);
    s << QStringLiteral("<p>Zur Pr&uuml;fung der Klasse ") + c + QStringLiteral(" geh&ouml;ren ") +
             QString::number(codes.size()) + QStringLiteral(" Teile:</p>");
    for (const QString &code : codes) {
        const ExamRules::Part *rule = rules.part(code);
        const ExamPart part = examPart(code.at(1), code.at(0), u'k', &rules);
        appendPart(s,
                   PageParts::text(rule->title) + QStringLiteral("<br><small>Pr&uuml;fung: ") +
                       QString::number(rule->questions) + QStringLiteral(" Fragen in ") +
                       QString::number(rule->minutes) + QStringLiteral(" Minuten, bestanden ab ") +
                       QString::number(ExamRules::rightNeeded(rule->questions, rule->passMark)) +
                       QStringLiteral(" richtigen Antworten (") + QString::number(rule->passMark) +
                       QStringLiteral("&nbsp;%)</small>"),
                   part.dark, code.at(0), code.at(1), groups.value(code));
    }
    QString links;
    for (const ExamRules::ExamClass &other : rules.classes)
        if (other.letter != classLetter)
            links += PageParts::fileLink(paths.generatedTrainingPage(other.letter),
                                         QStringLiteral("Training Klasse ") + other.letter) +
                     QStringLiteral(" &nbsp;&middot;&nbsp; ");
    s << QStringLiteral("<div class=\"kasten\">") + links +
             PageParts::fileLink(paths.examinationPage(classLetter),
                                 QStringLiteral("Pr&uuml;fungen Klasse ") + c) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") +
             PageParts::fileLink(pd + QStringLiteral("/html/index.html"), QStringLiteral("Home")) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") + PageParts::topLink() +
             QStringLiteral("</div>");
    PageParts::appendColumnPageEnd(s);
    return s;
}

} // namespace TrainingPages
