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

QString marker(const DataPaths &paths, bool current)
{
    return QStringLiteral("<td><img src=\"") +
           PageParts::fileUrl(paths.picture(current ? DataPaths::Picture::CurrentMenuMarker
                                                    : DataPaths::Picture::MenuMarker)) +
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

QString pictureUrl(const DataPaths &paths, DataPaths::Picture which)
{
    return PageParts::fileUrl(paths.picture(which));
}

// Head and the frame up to the navigation column's table.
void appendFrameStart(QStringList &s, const DataPaths &paths, QChar classLetter)
{
    using Picture = DataPaths::Picture;
    PageParts::appendHtmlHead(s, QStringLiteral("Vexa - Statistik Klasse ") + classLetter,
                              paths.siteStyleSheet());
    s << QStringLiteral("<body text=\"#0000a0\" bgcolor=\"#ffffff\">")
      << QStringLiteral("<a name=\"top\"></a><div align=\"center\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"740\">")
      << QStringLiteral("<tr background=\"") + pictureUrl(paths, Picture::HeadBackground) +
             QStringLiteral("\">")
      << QStringLiteral("<td>")
      << QStringLiteral("<img src=\"") + pictureUrl(paths, Picture::PageHead) +
             QStringLiteral("\" width=\"740\" height=\"65\" border=\"0\" "
                            "title=\"Vexa - Ostravello\" alt=\"Vexa - Ostravello\"><br>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">")
      << QStringLiteral("<tr>");
}

// The menu rows of the classes; the statistics row follows the class shown.
void appendClassRows(QStringList &s, const DataPaths &paths, QChar classLetter)
{
    const QString empty = QStringLiteral("<td>&nbsp;</td>");
    const QString plain = QStringLiteral("align=\"left\"");
    const QString none; // no title attribute
    const QString menu = QStringLiteral("menu");
    const QString sel = QStringLiteral("sel");
    const auto url = [](const QString &path) { return PageParts::fileUrl(path); };
    const QString statisticsRow =
        row(empty, plain,
            QStringLiteral("&nbsp; ") + menuLink(sel, DataPaths::statisticsPageName(classLetter),
                                                 none, QStringLiteral("Statistik")));
    // Class N exists only under rules that know it; its page names it before A and E.
    if (classLetter == u'N')
        s << row(empty, plain,
                 menuLink(sel, url(paths.classesPage()), none, QStringLiteral("Klasse N")))
          << statisticsRow;
    s << row(empty, plain,
             menuLink(classLetter == u'A' ? sel : menu, url(paths.examinationPage(u'a')), none,
                      QStringLiteral("Klasse A")));
    if (classLetter == u'A')
        s << statisticsRow;
    s << row(empty, plain,
             menuLink(classLetter == u'E' ? sel : menu, url(paths.examinationPage(u'e')), none,
                      QStringLiteral("Klasse E")));
    if (classLetter == u'E')
        s << statisticsRow;
}

// The navigation column: the site's menu with the class's statistics selected.
void appendMenu(QStringList &s, const DataPaths &paths, QChar classLetter)
{
    const QString left = QStringLiteral("valign=\"top\" align=\"left\"");
    const QString plain = QStringLiteral("align=\"left\"");
    const QString menu = QStringLiteral("menu");
    const QString sel = QStringLiteral("sel");
    const auto url = [](const QString &path) { return PageParts::fileUrl(path); };
    s << QStringLiteral("<td valign=\"top\" bgcolor=\"#3fa0df\">")
      << QStringLiteral("<img src=\"") + pictureUrl(paths, DataPaths::Picture::ClearPixel) +
             QStringLiteral("\" width=\"100\" height=\"1\" border=\"0\" "
                            "alt=\"clearpix\"><br>")
      << QStringLiteral("&nbsp;<br>") << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">");

    const QString gdot = marker(paths, false);
    s << row(gdot, left,
             menuLink(menu, url(paths.startPage()), QStringLiteral(" zur Startseite"),
                      QStringLiteral("Home")))
      << row(gdot, left,
             menuLink(menu, url(paths.newsPage()), QStringLiteral(" Was hat sich getan?"),
                      QStringLiteral("Aktuell")))
      << row(gdot, left,
             menuLink(menu, url(paths.trainingOverviewPage()),
                      QStringLiteral(" Training von Pr&uuml;fungsteilen"),
                      QStringLiteral("Training")))
      << row(marker(paths, true), left,
             menuLink(sel, url(paths.examinationsPage()),
                      QStringLiteral(" Pr&uuml;fungstraining f&uuml;r die Klassen A und E"),
                      QStringLiteral("Pr&uuml;fungen")));
    appendClassRows(s, paths, classLetter);
    s << row(QStringLiteral("<td>&nbsp;</td>"), plain,
             menuLink(menu, url(paths.logPage()), QStringLiteral(" Pr&uuml;fungslog"),
                      QStringLiteral("Log")))
      << row(gdot, left,
             menuLink(menu, url(paths.linksPage()),
                      QStringLiteral(" N&uuml;tzliche Links zum Thema Amateurfunkpr&uuml;fung"),
                      QStringLiteral("Links")))
      << row(gdot, QStringLiteral("align=\"left\" valign=\"top\""),
             menuLink(menu, url(paths.faqPage()), QStringLiteral(" H&auml;ufig gestellte Fragen"),
                      QStringLiteral("FAQ")))
      << row(gdot, left,
             menuLink(menu, url(paths.helpPageLink()), QStringLiteral(" Die Hilfe zu Vexa"),
                      QStringLiteral("Hilfe")))
      << QStringLiteral("</table>") << QStringLiteral("</div>") << QStringLiteral("</td>");
}

// The content column: two charts per block.
void appendCharts(QStringList &s, const DataPaths &paths, QChar classLetter,
                  const QList<Statistics::ChartPart> &parts)
{
    s << QStringLiteral("<td valign=\"top\" background=\"") +
             pictureUrl(paths, DataPaths::Picture::ContentBackground) + QStringLiteral("\">")
      << QStringLiteral("<img src=\"") + pictureUrl(paths, DataPaths::Picture::ClearPixel) +
             QStringLiteral("\" width=\"640\" height=\"1\" border=\"0\" "
                            "alt=\"clearpix\"><br>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"10\" cellspacing=\"0\" width=\"635\">")
      << QStringLiteral("<tr background=\"\">") << QStringLiteral("<td>")
      << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")
      << QStringLiteral("<tr>") << QStringLiteral("<td valign=\"top\" background=\"\">")
      << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<h1>Statistik zu den Pr&uuml;fungen der Klasse ") + classLetter +
             QStringLiteral("</h1>")
      << QStringLiteral("<table bgcolor=\"#f7f7f7\" border=\"0\" cellspacing=\"0\" "
                        "cellpadding=\"5\" width=\"100%\">");

    bool first = true;
    for (const Statistics::ChartPart &block : parts) {
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
}

// The text links under the columns.
void appendTextNavigation(QStringList &s, const DataPaths &paths)
{
    s << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<small>") +
             PageParts::link(QStringLiteral("#top"), QStringLiteral("Top")) + QStringLiteral(" |");
    const std::pair<QString, const char *> textLinks[] = {
        {paths.startPage(), "Home"},
        {paths.newsPage(), "Aktuell"},
        {paths.trainingOverviewPage(), "Training"},
        {paths.examinationsPage(), "Pr&uuml;fungen"},
        {paths.linksPage(), "Links"},
        {paths.faqPage(), "FAQ"}};
    for (const auto &[path, text] : textLinks)
        s << PageParts::fileLink(path, QLatin1String(text)) + QStringLiteral(" |");
    s << PageParts::fileLink(paths.helpPageLink(), QStringLiteral("Hilfe"))
      << QStringLiteral("</small>") << QStringLiteral("</div>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>");
}

// The signature row and the end of the page.
void appendFoot(QStringList &s, const DataPaths &paths, const QDateTime &when)
{
    s << QStringLiteral("<tr>")
      << QStringLiteral("<td background=\"") +
             pictureUrl(paths, DataPaths::Picture::FootBackground) +
             QStringLiteral("\" colspan=\"2\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>")
      << QStringLiteral("<td align=\"left\"><small>") + PageParts::signatureStart() +
             PageParts::mailLink() + QStringLiteral("</small></td>")
      << QStringLiteral("<td align=\"right\"><small>") + PageParts::stamp(when) +
             QStringLiteral("</small><br></td>");
    for (const char *end : {"</tr>", "</table>", "</td>", "</tr>", "</table>", "</td>", "</tr>",
                            "</table>", "</div>", "</body>", "</html>"})
        s << QLatin1String(end);
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
    QStringList s;
    appendFrameStart(s, paths, classLetter);
    appendMenu(s, paths, classLetter);
    appendCharts(s, paths, classLetter, parts);
    appendTextNavigation(s, paths);
    appendFoot(s, paths, when);
    return s;
}
