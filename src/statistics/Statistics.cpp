#include "statistics/Statistics.h"

#include "catalogue/CatalogueRules.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"
#include "statistics/Chart.h"
#include "statistics/ClassPages.h"
#include "statistics/ExamLog.h"
#include "statistics/GifFile.h"
#include "statistics/LogRecords.h"

#include <QFileInfo>

namespace {

QString marker(const QString &programDir, bool current)
{
    return QStringLiteral("<td><img src=\"") + programDir +
           (current ? QStringLiteral("/pics/rdot.gif") : QStringLiteral("/pics/gdot.gif")) +
           QStringLiteral("\" width=\"8\" height=\"12\" border=\"0\" hspace=\"2\" vspace=\"3\" "
                          "alt=\"Pfeil\"></td>");
}

QString menuLink(const QString &linkClass, const QString &href, const QString &title,
                 const QString &text)
{
    QString a =
        QStringLiteral("<a class=\"") + linkClass + QStringLiteral("\" href=\"") + href + u'"';
    if (!title.isNull())
        a += QStringLiteral(" title=\"") + title + u'"';
    return a + u'>' + text + QStringLiteral("</a>");
}

QString row(const QString &firstCell, const QString &cellAttributes, const QString &content)
{
    return QStringLiteral("<tr>") + firstCell + QStringLiteral("<td ") + cellAttributes + u'>' +
           content + QStringLiteral("</td></tr>");
}

QString chartCell(const QString &src, const QString &title)
{
    return QStringLiteral("<td bgcolor=\"#ffffff\" width=\"50%\" align=\"center\"><img src=\"") +
           src + QStringLiteral("\" width=\"277\" height=\"200\" border=\"0\" title=\"") + title +
           QStringLiteral("\" alt=\"") + title + QStringLiteral("\"></td>");
}

} // namespace

bool Statistics::LogAuswerten(QStringList &records, QList<LogRecords::Verdict> *verdicts)
{
    const LogRecords::Result result = LogRecords::parse(m_log.lines());
    records = result.records;
    if (verdicts)
        *verdicts = result.verdicts;
    if (result.valid())
        return true;
    const QString line = QString::number(result.failedLine);
    m_ui.Msg(QStringLiteral(" Fehler in Vexa.log Zeile ") + line +
             QStringLiteral(". Bitte das Log bereinigen oder löschen."));
    m_ui.ShowWarning(QStringLiteral("Die Statistik kann wegen eines Fehlers in Zeile ") + line +
                     QStringLiteral(" der Logdatei nicht aufgebaut werden.\n\rSchauen Sie sich "
                                    "die Datei ") +
                     m_paths.logFile() +
                     QStringLiteral(" an oder löschen Sie die Logdatei mit <Strg-Entf>."));
    return false;
}

QList<Statistics::ChartPart> Statistics::chartParts(QChar classLetter, const ExamRules *rules)
{
    const QString technical = QStringLiteral("T") + classLetter;
    const auto builtIn = [](const QString &code, const QString &heading) {
        return ChartPart{code, heading, examPart(code.at(1), code.at(0), u'k').middle, {}};
    };
    const QStringList codes = rules ? rules->pageOrder(classLetter) : QStringList();
    if (codes.isEmpty())
        return {builtIn(technical, QStringLiteral("Technische Kenntnisse Klasse ") + classLetter),
                builtIn(QStringLiteral("BE"), QStringLiteral("Betriebliche Kenntnisse")),
                builtIn(QStringLiteral("VE"), QStringLiteral("Kenntnisse von Vorschriften"))};
    QList<ChartPart> parts;
    for (const QString &code : codes) {
        const ExamRules::Part *rule = rules->part(code);
        const ExamPart part = examPart(code.at(1), code.at(0), u'k', rules);
        parts.append(
            {code, PageParts::text(rule->title), part.middle, {rule->passMark, rule->questions}});
    }
    return parts;
}

bool Statistics::StatistikAnzeigen(QChar classLetter)
{
    const ExamRules &rules = m_rules.current();
    // Classes A and E have built-in parts; any other exists only under the rules.
    if (classLetter != u'A' && classLetter != u'E' && !rules.examClass(classLetter)) {
        m_ui.ShowWarning(ClassPages::unknownClassMessage(classLetter));
        return false;
    }
    QStringList records;
    QList<LogRecords::Verdict> verdicts;
    if (!LogAuswerten(records, &verdicts))
        return false;
    const QList<ChartPart> parts = chartParts(classLetter, &rules);

    // Two charts per part, spread over 5 to 75 (5, 25, 30, 50, 55, 75 for three parts).
    const auto n = static_cast<int>(parts.size());
    bool shown = true;
    for (int i = 0; i < n && shown; ++i) {
        const ChartPart &part = parts.at(i);
        m_ui.setProgress(5 + i * 75 / n);
        shown = DiagrammZeichnen(records, part.code, 0, part.mark, verdicts);
        if (shown) {
            m_ui.setProgress((i + 1) * 75 / n);
            shown = DiagrammZeichnen(records, part.code, 20, part.mark, verdicts);
        }
    }
    if (shown) {
        m_ui.setProgress(80);
        shown = m_writer.SeiteSpeichernUndZeigen(m_paths.statisticsPage(classLetter),
                                                 pageLines(m_paths, classLetter, m_clock(), parts));
    }
    m_ui.setProgress(0);
    return shown;
}

bool Statistics::DiagrammZeichnen(const QStringList &records, const QString &partCode, int limit,
                                  const Chart::PassMark &mark,
                                  const QList<LogRecords::Verdict> &verdicts)
{
    return GifFile::GifSpeichern(Chart::DiagrammZeichnen(records, partCode, limit, mark, verdicts),
                                 m_paths.chart(partCode, limit), m_writer);
}

bool Statistics::StatistikSeiteErstellen(QChar classLetter)
{
    return m_writer.SeiteSpeichernUndZeigen(m_paths.statisticsPage(classLetter),
                                            pageLines(m_paths, classLetter, m_clock()));
}

QStringList Statistics::pageLines(const DataPaths &paths, QChar classLetter, const QDateTime &when)
{
    return pageLines(paths, classLetter, when, chartParts(classLetter, nullptr));
}

QStringList Statistics::pageLines(const DataPaths &paths, QChar classLetter, const QDateTime &when,
                                  const QList<ChartPart> &parts)
{
    const QString pd = PageParts::fileUrl(paths.programDir());
    const bool classA = classLetter == u'A';
    const QString c(classLetter);
    const QString left = QStringLiteral("valign=\"top\" align=\"left\"");
    const QString plain = QStringLiteral("align=\"left\"");
    const QString none; // no title attribute
    QStringList s;

    PageParts::appendHtmlHead(s, QStringLiteral("Vexa - Statistik Klasse ") + c,
                              paths.programDir() + QStringLiteral("/css/vexa.css"));
    s << QStringLiteral("<body text=\"#0000a0\" bgcolor=\"#ffffff\">")
      << QStringLiteral("<a name=\"top\"></a><div align=\"center\">")
      // Frame
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"740\">")
      << QStringLiteral("<tr background=\"") + pd + QStringLiteral("/pics/hglogo.gif\">")
      << QStringLiteral("<td>")
      << QStringLiteral("<img src=\"") + pd +
             QStringLiteral("/pics/seitenkopf.jpg\" width=\"740\" height=\"65\" border=\"0\" "
                            "title=\"Vexa - Ostravello\" alt=\"Vexa - Ostravello\"><br>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">")
      << QStringLiteral("<tr>")
      // Navigation column
      << QStringLiteral("<td valign=\"top\" bgcolor=\"#3fa0df\">")
      << QStringLiteral("<img src=\"") + pd +
             QStringLiteral("/pics/clearpix.gif\" width=\"100\" height=\"1\" border=\"0\" "
                            "alt=\"clearpix\"><br>")
      << QStringLiteral("&nbsp;<br>") << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">");

    const QString empty = QStringLiteral("<td>&nbsp;</td>");
    const QString gdot = marker(pd, false);
    s << row(gdot, left,
             menuLink(QStringLiteral("menu"), pd + QStringLiteral("/html/index.html"),
                      QStringLiteral(" zur Startseite"), QStringLiteral("Home")))
      << row(gdot, left,
             menuLink(QStringLiteral("menu"), pd + QStringLiteral("/html/aktuell.html"),
                      QStringLiteral(" Was hat sich getan?"), QStringLiteral("Aktuell")))
      << row(gdot, left,
             menuLink(QStringLiteral("menu"), pd + QStringLiteral("/html/training.html"),
                      QStringLiteral(" Training von Pr&uuml;fungsteilen"),
                      QStringLiteral("Training")))
      << row(marker(pd, true), left,
             menuLink(QStringLiteral("sel"), pd + QStringLiteral("/html/pruefungen.html"),
                      QStringLiteral(" Pr&uuml;fungstraining f&uuml;r die Klassen A und E"),
                      QStringLiteral("Pr&uuml;fungen")));
    const QString statisticsRow =
        row(empty, plain,
            QStringLiteral("&nbsp; ") +
                menuLink(QStringLiteral("sel"),
                         QStringLiteral("statistik") + c + QStringLiteral(".html"), none,
                         QStringLiteral("Statistik")));
    // Class N exists only under rules that know it; its page names it before A and E.
    if (classLetter == u'N')
        s << row(empty, plain,
                 menuLink(QStringLiteral("sel"), pd + QStringLiteral("/html/klassen.html"), none,
                          QStringLiteral("Klasse N")))
          << statisticsRow;
    s << row(empty, plain,
             menuLink(classA ? QStringLiteral("sel") : QStringLiteral("menu"),
                      pd + QStringLiteral("/html/klassea.html"), none, QStringLiteral("Klasse A")));
    if (classA)
        s << statisticsRow;
    s << row(empty, plain,
             menuLink(classLetter == u'E' ? QStringLiteral("sel") : QStringLiteral("menu"),
                      pd + QStringLiteral("/html/klassee.html"), none, QStringLiteral("Klasse E")));
    if (classLetter == u'E')
        s << statisticsRow;
    s << row(empty, plain,
             menuLink(QStringLiteral("menu"), PageParts::fileUrl(paths.logPage()),
                      QStringLiteral(" Pr&uuml;fungslog"), QStringLiteral("Log")))
      << row(gdot, left,
             menuLink(QStringLiteral("menu"), pd + QStringLiteral("/html/links.html"),
                      QStringLiteral(" N&uuml;tzliche Links zum Thema Amateurfunkpr&uuml;fung"),
                      QStringLiteral("Links")))
      << row(gdot, QStringLiteral("align=\"left\" valign=\"top\""),
             menuLink(QStringLiteral("menu"), pd + QStringLiteral("/html/faq.html"),
                      QStringLiteral(" H&auml;ufig gestellte Fragen"), QStringLiteral("FAQ")))
      << row(gdot, left,
             menuLink(QStringLiteral("menu"), pd + QStringLiteral("/html/vexahilfe.html"),
                      QStringLiteral(" Die Hilfe zu Vexa"), QStringLiteral("Hilfe")))
      << QStringLiteral("</table>") << QStringLiteral("</div>") << QStringLiteral("</td>");

    // Content column
    s << QStringLiteral("<td valign=\"top\" background=\"") + pd + QStringLiteral("/pics/vr.gif\">")
      << QStringLiteral("<img src=\"") + pd +
             QStringLiteral("/pics/clearpix.gif\" width=\"640\" height=\"1\" border=\"0\" "
                            "alt=\"clearpix\"><br>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"10\" cellspacing=\"0\" width=\"635\">")
      << QStringLiteral("<tr background=\"\">") << QStringLiteral("<td>")
      << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")
      << QStringLiteral("<tr>") << QStringLiteral("<td valign=\"top\" background=\"\">")
      << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<h1>Statistik zu den Pr&uuml;fungen der Klasse ") + c +
             QStringLiteral("</h1>")
      << QStringLiteral("<table bgcolor=\"#f7f7f7\" border=\"0\" cellspacing=\"0\" "
                        "cellpadding=\"5\" width=\"100%\">");

    bool first = true;
    for (const ChartPart &block : parts) {
        if (!first)
            s << QStringLiteral(
                "<tr><td bgcolor=\"#ffffff\" colspan=\"2\"><p>&nbsp;</p></td></tr>");
        first = false;
        s << QStringLiteral("<tr background=\"\">")
          << QStringLiteral("<td bgcolor=\"") + block.colour +
                 QStringLiteral("\" colspan=\"2\" width=\"50%\" align=\"left\"><big>") +
                 block.heading + QStringLiteral("</big>")
          << QStringLiteral("</td>") << QStringLiteral("</tr>")
          << QStringLiteral("<tr background=\"\">")
          << chartCell(PageParts::fileUrl(paths.chart(block.code, 20)),
                       QStringLiteral("Maximal die letzten 20 Pr&uuml;fungen"))
          << chartCell(PageParts::fileUrl(paths.chart(block.code, 0)),
                       QStringLiteral("Maximal die letzten 250 Pr&uuml;fungen"))
          << QStringLiteral("</tr>");
    }
    s << QStringLiteral("</table>") << QStringLiteral("</div>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</div>")
      << QStringLiteral("</td>") << QStringLiteral("</tr>") << QStringLiteral("</table><br>");

    // Text navigation
    s << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<small>") +
             PageParts::link(QStringLiteral("#top"), QStringLiteral("Top")) + QStringLiteral(" |");
    const std::pair<const char *, const char *> textLinks[] = {
        {"/html/index.html", "Home"},        {"/html/aktuell.html", "Aktuell"},
        {"/html/training.html", "Training"}, {"/html/pruefungen.html", "Pr&uuml;fungen"},
        {"/html/links.html", "Links"},       {"/html/faq.html", "FAQ"}};
    for (const auto &[path, text] : textLinks)
        s << PageParts::link(pd + QLatin1String(path), QLatin1String(text)) + QStringLiteral(" |");
    s << PageParts::link(pd + QStringLiteral("/html/vexahilfe.html"), QStringLiteral("Hilfe"))
      << QStringLiteral("</small>") << QStringLiteral("</div>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>");

    // Foot
    s << QStringLiteral("<tr>")
      << QStringLiteral("<td background=\"") + pd + QStringLiteral("/pics/hr2.gif\" colspan=\"2\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>")
      << QStringLiteral("<td align=\"left\"><small>") + PageParts::signatureStart() +
             PageParts::mailLink() + QStringLiteral("</small></td>")
      << QStringLiteral("<td align=\"right\"><small>") + PageParts::stamp(when) +
             QStringLiteral("</small><br></td>");
    for (const char *end : {"</tr>", "</table>", "</td>", "</tr>", "</table>", "</td>", "</tr>",
                            "</table>", "</div>", "</body>", "</html>"})
        s << QLatin1String(end);
    return s;
}
