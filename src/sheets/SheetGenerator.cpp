#include "sheets/SheetGenerator.h"

#include "catalogue/Catalogue.h"
#include "catalogue/PartParameters.h"
#include "catalogue/Procs.h"
#include "catalogue/SectionDistribution.h"
#include "catalogue/Selection.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageParts.h"
#include "shell/IniFile.h"
#include "shell/UserInterface.h"
#include "shell/VexaCore.h"
#include "statistics/AnswerList.h"

#include <QFile>

#include <array>
#include <limits>

using Panel = UserInterface::Panel;
using Colour = UserInterface::PanelColour;

namespace {

QString lineAt(const QStringList &lines, int i)
{
    return i < lines.size() ? lines.at(i) : QString();
}

bool isAnswerLine(const QString &line)
{
    const QString prefix = line.left(2).toUpper();
    return prefix == QLatin1String("R:") || prefix == QLatin1String("W:");
}

} // namespace

void SheetGenerator::FragebogenErstellen(QChar p, QChar c, QChar &kind, const QString &s,
                                         QString &examNumber)
{
    UserInterface &ui = m_core.ui();
    Bogenzustand &b = m_core.bogen();
    StringList &selected = m_core.SelectedQuestions();

    ui.setPanelColour(Panel::Nachricht, Colour::Normal);
    ui.setPanelColour(Panel::Zeit, Colour::Normal);
    ui.setPanelText(Panel::Zeit, QString());

    PartValues part;
    QString title;
    if (kind == u'a') {
        b.NavigationErwartet = true;
        PartParameters(c, p, u'a', part);
        title = part.title;
        ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
    } else if (kind == u'k') {
        b.NavigationErwartet = true;
        int count = 0;
        if (!loadExistingPart(p, c, kind, count))
            return;
        b.Vorrat = count;
        PartParameters(c, p, u'k', part);
        b.Fragenzahl = part.questionCount;
        b.Zeitlimit = part.minutes;
        title = part.title;
        const QString askedName = m_core.flags().AskedList ? QString(p) + c : QString();
        selected.clear();
        if (m_core.flags().FVBNetzA) {
            int distributed = 0;
            if (m_core.sections().DistributeBySections(p, c, distributed, selected) ==
                SectionDistribution::Outcome::Abandoned) {
                abandon(kind);
                return;
            }
        } else {
            m_core.selection().DrawRandomNumbers(b.Vorrat, b.Fragenzahl, 1, askedName,
                                                 m_core.flags().Zufallszahlen, selected);
        }
        ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
    } else if (kind == u't') {
        int count = 0;
        if (!loadExistingPart(p, c, kind, count))
            return;
        b.Vorrat = count;
        PartParameters(c, p, u't', part);
        b.Zeitlimit = part.minutes;
        title = s.left(2) + u'/' + s.mid(2, 1) + QStringLiteral("  ") + part.title.mid(17, 40);
        selected.clear();
        const int collected = m_core.selection().CollectSectionQuestions(p, c, s);
        if (collected < 0)
            return;
        b.Vorrat = collected;
        b.Fragenzahl = b.Vorrat;
    } else {
        return;
    }

    bool isNumber = false;
    const int limit = b.Zeitlimit.toInt(&isNumber);
    if (!isNumber) {
        // Only an own list can bring such a limit, or a class letter no part knows.
        ui.ShowWarning(kind == u'a'
                           ? QStringLiteral("Das Zeitlimit \"%1\" ist keine ganze Zahl; der "
                                            "Fragebogen wird nicht erzeugt.")
                                 .arg(b.Zeitlimit)
                           : QStringLiteral("Den Prüfungsteil %1 gibt es nicht; der Fragebogen "
                                            "wird nicht erzeugt.")
                                 .arg(QString(p) + c));
        abandon(kind);
        return;
    }
    b.ZeitlimitMinuten = limit;

    const QStringList &catalogue = m_core.CatalogueLines();
    const QString version =
        lineAt(catalogue, 0).startsWith(QLatin1String("V:")) ? catalogue.at(0).mid(2) : QString();

    const QString counterKey = QString(p) + c + QStringLiteral("ID");
    const int number =
        nextSheetNumber(m_core.settings().ReadInteger(QStringLiteral("IDs"), counterKey, 0));
    m_core.settings().WriteInteger(QStringLiteral("IDs"), counterKey, number);
    const QString sheetNumber = QString::number(number);

    const QString programDir = m_core.programDir();
    QStringList lines;
    QStringList rightAnswers;
    BogenKopf(b.Fragenzahl, c, p, title, b.Zeitlimit, version, part.middle, sheetNumber, programDir,
              PageParts::stamp(m_core.now()), lines);

    // The scan starts at the first line: an entry without version line keeps its first
    // question.
    int i = 0;
    int ordinal = 0;
    int j = 0;
    while (i < catalogue.size() && j < selected.count()) {
        if (!catalogue.at(i).startsWith(QLatin1String("::"))) {
            ++i;
            continue;
        }
        ++ordinal;
        if (ordinal != selected.at(j).toInt()) {
            ++i;
            continue;
        }
        const QString id = catalogue.at(i).mid(2, 5);

        StringList order(false);
        m_core.selection().DrawRandomNumbers(4, 4, 1, QString(), false, order);

        lines << QStringLiteral("<tr align=\"center\" {page-break-inside: avoid;} >")
              << QStringLiteral("<td>")
              << QStringLiteral(
                     "<table border=\"0\" cellpadding=\"5\" cellspacing=\"0\" width=\"95%\">");
        const QString name = FragenKopfZeile(id, part.middle, j, lines);

        ++i;
        FragentextZeile(UmlautsToEntities(lineAt(catalogue, i).mid(2)), part.light, lines);
        ++i;
        if (lineAt(catalogue, i).left(2).toUpper() == QLatin1String("P:")) {
            BildZeile(lineAt(catalogue, i).mid(2), part.light, programDir, lines);
            ++i;
        }

        // Exactly four slots; a record with fewer answers leaves slots empty, surplus
        // answers are passed over, so no text of another question can appear.
        std::array<QString, 4> answerSlots;
        bool rightRecorded = false;
        int k = 0;
        while (i < catalogue.size() && isAnswerLine(catalogue.at(i))) {
            if (k < 4 && k < order.count()) {
                const int position = order.at(k).toInt();
                answerSlots[position - 1] = UmlautsToEntities(catalogue.at(i));
                if (!rightRecorded && catalogue.at(i).left(2).toUpper() == QLatin1String("R:")) {
                    rightAnswers.append(id + order.at(k));
                    rightRecorded = true;
                }
            }
            ++k;
            ++i;
        }
        for (int position = 1; position <= 4; ++position) {
            if (!answerSlots[position - 1].isEmpty())
                AntwortZeile(name, QString::number(position), true, lines, part.light,
                             answerSlots[position - 1], programDir);
        }

        lines << QStringLiteral("<tr bgcolor=\"#ffffff\">")
              << QStringLiteral("<td colspan=\"2\" height=\"5\"><input type=\"hidden\" name=\"") +
                     name + QStringLiteral("\" value=\"N\"></td>")
              << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
              << QStringLiteral("</tr>");

        ++j;
        ui.setProgress(b.Fragenzahl > 0 ? static_cast<int>(80.0 * j / b.Fragenzahl + 0.5) : 0);
    }

    BogenFuss(p, sheetNumber, lines);
    examNumber = sheetNumber;

    // The answer key and the sheet belong together: without the one, the other is not
    // written or not kept, so the menu never offers the key of an earlier sheet.
    AnswerList &answerList = m_core.answerList();
    bool shown =
        answerList.AntwortenlisteErstellen(b.Fragenzahl, p, c, part.middle, part.light, part.dark,
                                           title, b.Zeitlimit, sheetNumber, rightAnswers);
    if (shown)
        shown = m_core.SeiteSpeichernUndZeigen(
            m_core.htmlDir() + QStringLiteral("/LetztePruefung.html"), lines);
    ui.setProgress(0);

    m_core.timer().stop();
    ui.setPanelText(Panel::Zeit, QString());
    b.Minuten = 0;
    if (!shown) {
        // Without a sheet on screen there is no examination to time, and whatever
        // answer list is left describes another sheet.
        QFile::remove(answerList.path());
        ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
        abandon(kind);
        return;
    }
    m_core.timer().start();
}

bool SheetGenerator::loadExistingPart(QChar p, QChar c, QChar &kind, int &count)
{
    if (!m_core.catalogue().LoadPartCatalogue(p, c, count))
        return false;
    if (count > 0)
        return true;
    // A sheet of a part the catalogue lacks would only waste a number and log 0 %.
    m_core.ui().ShowWarning(QStringLiteral("Der Fragenkatalog enthält keine Fragen zum "
                                           "Prüfungsteil %1; der Fragebogen wird nicht erzeugt.")
                                .arg(QString(p) + c));
    abandon(kind);
    return false;
}

void SheetGenerator::abandon(QChar &kind)
{
    m_core.bogen().NavigationErwartet = false;
    kind = u't';
}

int SheetGenerator::nextSheetNumber(int counter)
{
    // Counters only grow; one that cannot grow further (or was damaged into a negative
    // number) starts again at 1 instead of overflowing.
    if (counter < 0 || counter == std::numeric_limits<int>::max())
        return 1;
    return counter + 1;
}

void SheetGenerator::BogenKopf(int questionCount, QChar c, QChar p, const QString &title,
                               const QString &timeLimit, const QString &version,
                               const QString &middle, const QString &examNumber,
                               const QString &programDir, const QString &dateTime,
                               QStringList &lines)
{
    const QString shownLimit = timeLimit == QLatin1String("9999") ? QStringLiteral("-") : timeLimit;
    PageParts::appendHead(lines, QStringLiteral("Vexa - Ostravello"), programDir);
    lines
        << QStringLiteral("<form name=\"formular\" action=\"VexaA\" method=\"post\">")
        << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"95%\">")
        << QStringLiteral("<thead>") << QStringLiteral("<tr align=\"center\">")
        << QStringLiteral("<td>")
        << QStringLiteral("<table border=\"0\" cellpadding=\"3\" cellspacing=\"0\" width=\"95%\">")
        << QStringLiteral("<tr>")
        << QStringLiteral("<td><big>") + title + QStringLiteral("</big></td>")
        << QStringLiteral("<td align=\"center\">Amateurfunkzeugnis Klasse ") + c +
               QStringLiteral("</td>")
        << QStringLiteral("<td align=\"right\">") + QString::number(questionCount) +
               QStringLiteral(" Fragen &nbsp; Zeit: ") + shownLimit +
               QStringLiteral(" Minuten</td>")
        << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
        << QStringLiteral("</tr>") << QStringLiteral("</thead>") << QStringLiteral("<tfoot>")
        << QStringLiteral("<tr align=\"center\">") << QStringLiteral("<td>")
        << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"4\" width=\"95%\">")
        << QStringLiteral("<tr bgcolor=\"") + middle + QStringLiteral("\">")
        << QStringLiteral("<td>") + PageParts::topLink() + QStringLiteral("</td>")
        << QStringLiteral("<td align=\"right\"><input type=\"submit\" value=\" auswerten \">"
                          "</td>")
        << QStringLiteral("</tr>") << QStringLiteral("</table>")
        << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"2\" width=\"95%\">")
        << QStringLiteral("<tr>") << QStringLiteral("<td align=\"left\">")
        << QStringLiteral("<small>Vexa &nbsp;") + version + QStringLiteral(" &nbsp; ") +
               PageParts::mailLink() + QStringLiteral("</small>")
        << QStringLiteral("</td>") << QStringLiteral("<td align=\"right\">")
        << QStringLiteral("<small>") + p + QStringLiteral("ID: ") + examNumber +
               QStringLiteral(" &nbsp; ") + dateTime + QStringLiteral("</small><br></td>")
        << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
        << QStringLiteral("</tr>") << QStringLiteral("</tfoot>") << QStringLiteral("<tbody>");
}

QString SheetGenerator::FragenKopfZeile(const QString &id, const QString &colour, int j,
                                        QStringList &lines)
{
    const Bogenzustand &b = m_core.bogen();
    const QString number = QStringLiteral("<font color=\"#000000\"><small>") +
                           QString::number(j + 1) + QStringLiteral("</small></font></td>");
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">")
          << QStringLiteral("<td width=\"2%\"><b>") + id + QStringLiteral("</b></td>");
    if (b.Bogenart == u't') {
        const QString pics = m_core.programDir() + QStringLiteral("/pics/");
        lines << QStringLiteral("<td width=\"98%\" align=\"right\">");
        QString link =
            PageParts::pictureLink(id + QStringLiteral(".qst"), pics + QStringLiteral("qm.gif"),
                                   QStringLiteral(" Die richtige Antwort"));
        if (b.Teil == u'T') {
            lines << link;
            link = PageParts::pictureLink(
                id + QStringLiteral(".sln"), pics + QStringLiteral("L.gif"),
                QStringLiteral(" Die L&ouml;sung zu ") + id + QStringLiteral(" von QZ7TRV"));
        }
        lines << link + number;
    } else {
        lines << QStringLiteral("<td width=\"98%\" align=\"right\">") + number;
    }
    lines << QStringLiteral("</tr>");
    return id;
}

void SheetGenerator::FragentextZeile(const QString &text, const QString &colour, QStringList &lines)
{
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">")
          << QStringLiteral("<td colspan=\"2\"><b>") + text + QStringLiteral("</b></td>")
          << QStringLiteral("</tr>");
}

void SheetGenerator::BildZeile(const QString &reference, const QString &colour,
                               const QString &programDir, QStringList &lines)
{
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">")
          << QStringLiteral("<td colspan=\"2\"><img src=\"") + programDir + reference.mid(1, 50) +
                 QStringLiteral("\" vspace=\"2\" hspace=\"5\" border=\"0\" alt=\"") + reference +
                 QStringLiteral("\"></td>")
          << QStringLiteral("</tr>");
}

void SheetGenerator::AntwortZeile(const QString &name, const QString &position, bool withRadio,
                                  QStringList &lines, const QString &colour, QString answer,
                                  const QString &programDir)
{
    ReplaceAll(answer, QStringLiteral("./pics"), programDir + QStringLiteral("/pics"));
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">");
    if (withRadio) {
        lines << QStringLiteral("<td><input type=\"radio\" name=\"") + name +
                     QStringLiteral("\" value=\"") + answer.left(1).toUpper() + position +
                     QStringLiteral("\"></td>");
    }
    lines << QStringLiteral("<td>") + answer.mid(2) + QStringLiteral("</td>")
          << QStringLiteral("</tr>");
}

void SheetGenerator::BogenFuss(QChar p, const QString &examNumber, QStringList &lines)
{
    lines << QStringLiteral("</tbody>") << QStringLiteral("</table>")
          << QStringLiteral("<input type=\"hidden\" name=\"teil\" value=\"A\">")
          << QStringLiteral("<input type=\"hidden\" name=\"gebiet\" value=\"") + p +
                 QStringLiteral("\">")
          << QStringLiteral("<input type=\"hidden\" name=\"testid\" value=\"") + examNumber +
                 QStringLiteral("\">")
          << QStringLiteral("</form>") << QStringLiteral("</div>") << QStringLiteral("</body>")
          << QStringLiteral("</html>");
}
