#include "catalogue/TrainingPages.h"

#include "catalogue/DrillLink.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "components/DataPaths.h"

namespace TrainingPages {

namespace {

QString titleText(const CatalogueBuilder::TrainingSection &section)
{
    return section.titles.join(QStringLiteral(" \u00B7 "));
}

void appendPart(QStringList &s, const QString &heading, const QString &colour, QChar pageClass,
                const QString &partCode, const QList<CatalogueBuilder::TrainingSection> &sections)
{
    const QChar partLetter = partCode.at(0);
    const QChar formClass = partCode.at(1);
    s << QStringLiteral("<table class=\"liste\">")
      << QStringLiteral("<tr><th colspan=\"5\" bgcolor=\"") + colour + QStringLiteral("\">") +
             heading + QStringLiteral("</th></tr>");
    QString chapter;
    // Numbered as the lines of the part's training entry, which the progress page counts
    // as its chapters: both "Lernen" links then drill the same questions.
    int number = 0;
    for (const CatalogueBuilder::TrainingSection &section : sections) {
        if (section.ids.isEmpty())
            continue;
        ++number;
        if (section.chapter != chapter) {
            chapter = section.chapter;
            s << QStringLiteral("<tr><td colspan=\"5\"><b>") + PageParts::text(chapter) +
                     QStringLiteral("</b></td></tr>");
        }
        s << QStringLiteral("<tr><td class=\"code\">") + section.code +
                 QStringLiteral("</td><td>") + PageParts::text(titleText(section)) +
                 QStringLiteral("</td><td class=\"bereich\">") + section.ids.first() +
                 QStringLiteral("&ndash;") + section.ids.last() + QStringLiteral(" (") +
                 QString::number(section.ids.size()) +
                 QStringLiteral(" Fragen)</td><td class=\"knopf\"><form action=\"VexaU") +
                 formClass +
                 QStringLiteral("\" method=\"post\"><input type=\"hidden\" name=\"teil\" "
                                "value=\"") +
                 partLetter +
                 QStringLiteral("\"><input type=\"hidden\" name=\"abschnitt\" value=\"") +
                 section.code + QStringLiteral("\"><input type=\"submit\" value=\" Training ") +
                 section.code + QStringLiteral(" \"></form></td><td>") +
                 PageParts::link(
                     DrillLink::name(pageClass, DrillLink::chapterName(partCode, number)),
                     QStringLiteral("Lernen")) +
                 QStringLiteral("</td></tr>");
    }
    s << QStringLiteral("</table>");
}

} // namespace

QString entryName(const QString &partCode)
{
    return partCode + QStringLiteral("Training.txt");
}

QStringList entryLines(const QString &heading,
                       const QList<CatalogueBuilder::TrainingSection> &sections)
{
    // Titles come from the publication: a line break in one must not make a line of its
    // own. The titles stand last, so a ";" in them (or in a character reference) is theirs.
    QStringList lines{QStringLiteral("# Trainingsabschnitte ") + heading.simplified(),
                      QStringLiteral("# Code;erste Frage;letzte Frage;Unterkapitel")};
    for (const CatalogueBuilder::TrainingSection &section : sections)
        if (!section.ids.isEmpty())
            lines << section.code + u';' + section.ids.first() + u';' + section.ids.last() + u';' +
                         titleText(section).simplified();
    return lines;
}

bool sectionRange(const QStringList &entryLines, const QString &code, QString &firstId,
                  QString &lastId)
{
    for (const QString &line : entryLines) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u';');
        if (fields.size() >= 3 && fields.at(0).trimmed().compare(code, Qt::CaseInsensitive) == 0 &&
            !fields.at(1).trimmed().isEmpty() && !fields.at(2).trimmed().isEmpty()) {
            firstId = fields.at(1).trimmed();
            lastId = fields.at(2).trimmed();
            return true;
        }
    }
    return false;
}

QStringList pageLines(const DataPaths &paths, const ExamRules &rules, QChar classLetter,
                      const QMap<QString, QList<CatalogueBuilder::TrainingSection>> &sections,
                      const QString &edition)
{
    const QString c(classLetter);
    // The progress page is built when its link is followed: the link names it beside this
    // page, as the page commands look for it.
    const QString progress =
        PageParts::link(DataPaths::progressPageName(), QStringLiteral("Lernstand"));
    QStringList s;
    PageParts::appendColumnPageStart(s, QStringLiteral("Vexa - Training Klasse ") + c,
                                     QStringLiteral("Training Klasse ") + c,
                                     paths.siteStyleSheet());
    s << QStringLiteral("<p>Amtlicher Fragenkatalog, ") + PageParts::text(edition) +
             QStringLiteral(". Jeder Abschnitt enth&auml;lt die Fragen eines oder mehrerer "
                            "Unterkapitel in der Reihenfolge des Katalogs. "
                            "Ein Klick auf <b>Training</b> erzeugt den Fragebogen des "
                            "Abschnitts, ohne Zeitlimit und ohne Eintrag im "
                            "Pr&uuml;fungslog. <b>Lernen</b> fragt aus dem Abschnitt zuerst die "
                            "f&auml;lligen, dann die schwachen, dann die neuen Fragen ab; wie "
                            "weit Sie sind, zeigt der ") +
             progress + QStringLiteral(".</p>");
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
                   part.dark, classLetter, code, sections.value(code));
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
             QStringLiteral(" &nbsp;&middot;&nbsp; ") + progress +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") +
             PageParts::fileLink(paths.startPage(), QStringLiteral("Home")) +
             QStringLiteral(" &nbsp;&middot;&nbsp; ") + PageParts::topLink() +
             QStringLiteral("</div>");
    PageParts::appendColumnPageEnd(s);
    return s;
}

} // namespace TrainingPages
