#include "sheets/SheetGenerator.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "catalogue/SectionDistribution.h"
#include "catalogue/Selection.h"
#include "catalogue/SelectionFlags.h"
#include "catalogue/StringList.h"
#include "catalogue/TextUtilities.h"
#include "components/DataPaths.h"
#include "components/RandomSource.h"
#include "components/Settings.h"
#include "components/UserInterface.h"
#include "learning/ExamPrediction.h"
#include "learning/PassProbability.h"
#include "learning/QuestionFingerprint.h"
#include "sheets/Bogenzustand.h"
#include "sheets/ExamTimer.h"
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

} // namespace

void SheetGenerator::FragebogenErstellen(QChar partLetter, QChar classLetter, QChar &kind,
                                         const QString &sectionCode, QString &examNumber)
{
    UserInterface &ui = m_uses.ui;
    Bogenzustand &b = m_uses.bogen;

    ui.setPanelColour(Panel::Nachricht, Colour::Normal);
    ui.setPanelColour(Panel::Zeit, Colour::Normal);
    ui.setPanelText(Panel::Zeit, QString());
    b.predicted.reset();
    b.oralMark = 0;

    ExamPart part;
    QString title;
    if (!selectQuestions(partLetter, classLetter, kind, sectionCode, part, title))
        return;

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
                                 .arg(part.code()));
        abandon(kind);
        return;
    }
    b.ZeitlimitMinuten = limit;

    const QStringList &catalogue = m_uses.catalogue.lines();
    const QString version =
        lineAt(catalogue, 0).startsWith(QLatin1String("V:")) ? catalogue.at(0).mid(2) : QString();

    const SettingsKey<int> counter = Keys::sheetCounter(part.code());
    const int number = nextSheetNumber(m_uses.settings.value(counter));
    // A counter that cannot be written has been reported; the sheet keeps its number.
    (void)m_uses.settings.setValue(counter, number);
    const QString sheetNumber = QString::number(number);

    QStringList lines;
    QStringList rightAnswers;
    BogenKopf(b.Fragenzahl, classLetter, partLetter, title, b.Zeitlimit, version, part.middle,
              sheetNumber, m_uses.paths.styleSheet(), m_uses.clock(), lines);
    if (kind == u'l' && !b.drillNote.isEmpty())
        lines << QStringLiteral("<tr><td><p>") + b.drillNote + QStringLiteral("</p></td></tr>");
    appendQuestions(part, lines, rightAnswers);
    BogenFuss(partLetter, sheetNumber, lines);
    examNumber = sheetNumber;

    const bool shown = writeSheet(part, title, sheetNumber, lines, rightAnswers);
    ui.setProgress(0);

    m_uses.timer.stop();
    ui.setPanelText(Panel::Zeit, QString());
    b.Minuten = 0;
    if (!shown) {
        // Without a sheet on screen there is no examination to time, and whatever
        // answer list is left describes another sheet.
        QFile::remove(m_uses.paths.answerListPage());
        ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
        abandon(kind);
        return;
    }
    if (kind == u'k')
        b.predicted = predict(part);
    m_uses.timer.start();
}

std::optional<double> SheetGenerator::predict(const ExamPart &part) const
{
    const Bogenzustand &b = m_uses.bogen;
    ExamPrediction::Part drawn;
    drawn.code = part.code();
    drawn.questions = b.Fragenzahl;
    drawn.rightNeeded = ExamRules::rightNeeded(b.Fragenzahl, part.passMark);
    drawn.oralFrom = b.oralMark > 0 ? ExamRules::rightNeeded(b.Fragenzahl, b.oralMark) : 0;
    drawn.entryLines = m_uses.catalogue.lines();
    // The sections entry was read for the draw a moment ago; it cannot be missing now.
    if (m_uses.flags.FVBNetzA &&
        (!m_uses.catalogue.extract(sectionsEntry(drawn.code), drawn.sectionLines) ||
         drawn.sectionLines.isEmpty()))
        return std::nullopt;
    RandomSource estimates(PassProbability::kEstimateSeed);
    return ExamPrediction::of(m_uses.learningStore, drawn, estimates,
                              m_uses.clock().toSecsSinceEpoch());
}

bool SheetGenerator::selectQuestions(QChar partLetter, QChar classLetter, QChar &kind,
                                     const QString &sectionCode, ExamPart &part, QString &title)
{
    UserInterface &ui = m_uses.ui;
    Bogenzustand &b = m_uses.bogen;
    StringList &selected = m_uses.selectedQuestions;

    ExamRules rules;
    if (!m_uses.catalogue.readRules(rules)) {
        abandon(kind);
        return false;
    }

    if (kind == u'a') {
        // Count and time limit are the own list's, set before.
        b.NavigationErwartet = true;
        PartParameters(classLetter, partLetter, u'a', part, &rules);
        b.part = part;
        title = part.title;
        ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
        return true;
    }
    if (kind == u'l') {
        // The drill has loaded the part's entry and chosen its questions.
        PartParameters(classLetter, partLetter, u'l', part, &rules);
        part.minutes = QStringLiteral("9999");
        b.part = part;
        b.Zeitlimit = part.minutes;
        b.Fragenzahl = int(b.drillOrder.size());
        title = QStringLiteral("Lernen ") + part.title;
        return true;
    }
    if (kind == u'k') {
        b.NavigationErwartet = true;
        int count = 0;
        if (!loadExistingPart(partLetter, classLetter, kind, count))
            return false;
        b.Vorrat = count;
        PartParameters(classLetter, partLetter, u'k', part, &rules);
        b.part = part;
        if (const ExamRules::Part *declared = rules.part(part.code()))
            b.oralMark = declared->oralMark;
        b.Fragenzahl = part.questionCount;
        b.Zeitlimit = part.minutes;
        title = part.title;
        selected.clear();
        const SelectionFlags &flags = m_uses.flags;
        if (flags.FVBNetzA) {
            int distributed = 0;
            if (m_uses.sections.DistributeBySections(partLetter, classLetter, distributed,
                                                     selected) ==
                SectionDistribution::Outcome::Abandoned) {
                abandon(kind);
                return false;
            }
        } else {
            const QString askedName = flags.AskedList ? part.code() : QString();
            // Too few questions make a shorter sheet.
            (void)m_uses.selection.DrawRandomNumbers(b.Vorrat, b.Fragenzahl, 1, askedName,
                                                     flags.Zufallszahlen, selected);
        }
        ui.setCommandEnabled(UserInterface::Command::Antwortenliste, false);
        return true;
    }
    if (kind == u't') {
        int count = 0;
        if (!loadExistingPart(partLetter, classLetter, kind, count))
            return false;
        b.Vorrat = count;
        PartParameters(classLetter, partLetter, u't', part, &rules);
        b.part = part;
        b.Zeitlimit = part.minutes;
        title = PageParts::trainingTitle(sectionCode, part.title);
        selected.clear();
        const int collected =
            m_uses.selection.CollectSectionQuestions(partLetter, classLetter, sectionCode);
        if (collected < 0)
            return false;
        b.Vorrat = collected;
        b.Fragenzahl = b.Vorrat;
        return true;
    }
    return false;
}

void SheetGenerator::appendQuestions(const ExamPart &part, QStringList &lines,
                                     QStringList &rightAnswers)
{
    const QStringList &catalogue = m_uses.catalogue.lines();
    const StringList &selected = m_uses.selectedQuestions;
    const int questionCount = m_uses.bogen.Fragenzahl;
    m_uses.bogen.askedQuestions.clear();

    if (m_uses.bogen.Bogenart == u'l') {
        // A drill keeps the order of its choice: due, weak, then new questions.
        QHash<QString, int> headers;
        for (int line = 0; line < catalogue.size(); ++line)
            if (isQuestionHeader(catalogue.at(line)))
                headers.insert(catalogue.at(line).mid(2, 5), line);
        int j = 0;
        for (const QString &id : std::as_const(m_uses.bogen.drillOrder)) {
            int i = headers.value(id, -1);
            if (i < 0)
                continue;
            appendQuestion(part, i, j, lines, rightAnswers);
            ++j;
            m_uses.ui.setProgress(
                questionCount > 0 ? static_cast<int>(80.0 * j / questionCount + 0.5) : 0);
        }
        return;
    }

    // The scan starts at the first line: an entry without version line keeps its first
    // question.
    int i = 0;
    int ordinal = 0;
    int j = 0;
    while (i < catalogue.size() && j < selected.count()) {
        if (!isQuestionHeader(catalogue.at(i))) {
            ++i;
            continue;
        }
        ++ordinal;
        if (ordinal != selected.at(j).toInt()) {
            ++i;
            continue;
        }
        appendQuestion(part, i, j, lines, rightAnswers);
        ++j;
        m_uses.ui.setProgress(questionCount > 0 ? static_cast<int>(80.0 * j / questionCount + 0.5)
                                                : 0);
    }
}

void SheetGenerator::appendQuestion(const ExamPart &part, int &i, int j, QStringList &lines,
                                    QStringList &rightAnswers)
{
    const QStringList &catalogue = m_uses.catalogue.lines();
    const QString id = catalogue.at(i).mid(2, 5);

    StringList order(false);
    (void)m_uses.selection.DrawRandomNumbers(4, 4, 1, QString(), false, order);

    lines << QStringLiteral("<tr align=\"center\" {page-break-inside: avoid;} >")
          << QStringLiteral("<td>")
          << QStringLiteral(
                 "<table border=\"0\" cellpadding=\"5\" cellspacing=\"0\" width=\"95%\">");
    const QString name = FragenKopfZeile(id, part.middle, j, lines);

    ++i;
    const QString questionText = lineAt(catalogue, i).mid(2);
    SheetQuestion asked;
    asked.positions = QStringLiteral("----");
    asked.text = UmlautsToEntities(questionText);
    FragentextZeile(asked.text, part.light, lines);
    ++i;
    if (lineAt(catalogue, i).left(2).toUpper() == QLatin1String("P:")) {
        asked.picture = lineAt(catalogue, i).mid(2);
        BildZeile(asked.picture, part.light, m_uses.paths.pictureRoot(lineAt(catalogue, i)), lines);
        ++i;
    }

    // Exactly four slots; a record with fewer answers leaves slots empty, surplus
    // answers are passed over, so no text of another question can appear.
    std::array<QString, 4> answerSlots;
    QString rightText;
    bool rightRecorded = false;
    int k = 0;
    int wrongNumber = 0;
    while (i < catalogue.size() && isAnswerLine(catalogue.at(i))) {
        const bool right = catalogue.at(i).left(2).toUpper() == QLatin1String("R:");
        if (!right)
            ++wrongNumber;
        if (k < 4 && k < order.count()) {
            const int position = order.at(k).toInt();
            answerSlots[position - 1] = UmlautsToEntities(catalogue.at(i));
            asked.positions[position - 1] =
                right ? u'R' : (wrongNumber <= 3 ? QChar(u'0' + wrongNumber) : QChar(u'-'));
            if (!rightRecorded && right) {
                rightAnswers.append(id + order.at(k));
                rightText = catalogue.at(i).mid(2);
                rightRecorded = true;
            }
        }
        ++k;
        ++i;
    }
    asked.fingerprint = QuestionFingerprint::of(questionText, rightText);
    asked.answers = QStringList(answerSlots.cbegin(), answerSlots.cend());
    m_uses.bogen.askedQuestions.insert(id, asked);
    for (int position = 1; position <= 4; ++position) {
        if (!answerSlots[position - 1].isEmpty())
            AntwortZeile(name, QString::number(position), true, lines, part.light,
                         answerSlots[position - 1],
                         m_uses.paths.pictureRoot(answerSlots[position - 1]));
    }

    lines << QStringLiteral("<tr bgcolor=\"#ffffff\">")
          << QStringLiteral("<td colspan=\"2\" height=\"5\"><input type=\"hidden\" name=\"") +
                 name + QStringLiteral("\" value=\"N\"></td>")
          << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
          << QStringLiteral("</tr>");
}

bool SheetGenerator::writeSheet(const ExamPart &part, const QString &title,
                                const QString &sheetNumber, const QStringList &lines,
                                const QStringList &rightAnswers)
{
    const Bogenzustand &b = m_uses.bogen;
    // The answer key and the sheet belong together: without the one, the other is not
    // written or not kept, so the menu never offers the key of an earlier sheet.
    return m_uses.answerList.AntwortenlisteErstellen(part, b.Fragenzahl, title, b.Zeitlimit,
                                                     sheetNumber, rightAnswers) &&
           m_uses.writer.SeiteSpeichernUndZeigen(m_uses.paths.sheetPage(), lines);
}

bool SheetGenerator::loadExistingPart(QChar partLetter, QChar classLetter, QChar &kind, int &count)
{
    if (!m_uses.catalogue.LoadPartCatalogue(partLetter, classLetter, count))
        return false;
    if (count > 0)
        return true;
    // A sheet of a part the catalogue lacks would only waste a number and log 0 %.
    m_uses.ui.ShowWarning(QStringLiteral("Der Fragenkatalog enthält keine Fragen zum "
                                         "Prüfungsteil %1; der Fragebogen wird nicht erzeugt.")
                              .arg(QString(partLetter) + classLetter));
    abandon(kind);
    return false;
}

void SheetGenerator::abandon(QChar &kind)
{
    m_uses.bogen.NavigationErwartet = false;
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

void SheetGenerator::BogenKopf(int questionCount, QChar classLetter, QChar partLetter,
                               const QString &title, const QString &timeLimit,
                               const QString &version, const QString &middle,
                               const QString &examNumber, const QString &styleSheet,
                               const QDateTime &when, QStringList &lines)
{
    PageParts::appendHead(lines, QStringLiteral("Vexa - Ostravello"), styleSheet);
    lines
        << QStringLiteral("<form name=\"formular\" action=\"VexaA\" method=\"post\">")
        << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"95%\">")
        << QStringLiteral("<thead>") << QStringLiteral("<tr align=\"center\">")
        << QStringLiteral("<td>")
        << QStringLiteral("<table border=\"0\" cellpadding=\"3\" cellspacing=\"0\" width=\"95%\">")
        << QStringLiteral("<tr>");
    PageParts::appendTitleCells(lines, title, classLetter, questionCount, timeLimit);
    lines
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
        << QStringLiteral("<small>") + PageParts::signatureStart() + version +
               QStringLiteral(" &nbsp; ") + PageParts::mailLink() + QStringLiteral("</small>")
        << QStringLiteral("</td>") << QStringLiteral("<td align=\"right\">")
        << PageParts::idStampCell(partLetter, examNumber, when) << QStringLiteral("</tr>")
        << QStringLiteral("</table>") << QStringLiteral("</td>") << QStringLiteral("</tr>")
        << QStringLiteral("</tfoot>") << QStringLiteral("<tbody>");
}

QString SheetGenerator::FragenKopfZeile(const QString &id, const QString &colour, int j,
                                        QStringList &lines)
{
    const Bogenzustand &b = m_uses.bogen;
    const QString number = QStringLiteral("<font color=\"#000000\"><small>") +
                           QString::number(j + 1) + QStringLiteral("</small></font></td>");
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">")
          << QStringLiteral("<td width=\"2%\"><b>") + id + QStringLiteral("</b></td>");
    if (b.Bogenart == u't') {
        const QString pics = m_uses.paths.picsDir();
        lines << QStringLiteral("<td width=\"98%\" align=\"right\">");
        QString link = PageParts::questionLink(pics, id, QStringLiteral(" Die richtige Antwort"));
        if (b.Teil == u'T') {
            lines << link;
            link = PageParts::solutionLink(pics, id, m_uses.paths.solution(b.Klasse, id));
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
                               const QString &pictureRoot, QStringList &lines)
{
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">")
          << QStringLiteral("<td colspan=\"2\"><img src=\"") +
                 PageParts::fileUrl(pictureRoot + reference.mid(1, 50)) +
                 QStringLiteral("\" vspace=\"2\" hspace=\"5\" border=\"0\" alt=\"") + reference +
                 QStringLiteral("\"></td>")
          << QStringLiteral("</tr>");
}

void SheetGenerator::AntwortZeile(const QString &name, const QString &position, bool withRadio,
                                  QStringList &lines, const QString &colour, QString answer,
                                  const QString &pictureRoot)
{
    ReplaceAll(answer, QStringLiteral("./pics"),
               PageParts::fileUrl(pictureRoot + QStringLiteral("/pics")));
    lines << QStringLiteral("<tr bgcolor=\"") + colour + QStringLiteral("\">");
    if (withRadio) {
        lines << QStringLiteral("<td><input type=\"radio\" name=\"") + name +
                     QStringLiteral("\" value=\"") + answer.left(1).toUpper() + position +
                     QStringLiteral("\"></td>");
    }
    lines << QStringLiteral("<td>") + answer.mid(2) + QStringLiteral("</td>")
          << QStringLiteral("</tr>");
}

void SheetGenerator::BogenFuss(QChar partLetter, const QString &examNumber, QStringList &lines)
{
    lines << QStringLiteral("</tbody>") << QStringLiteral("</table>")
          << QStringLiteral("<input type=\"hidden\" name=\"teil\" value=\"A\">")
          << QStringLiteral("<input type=\"hidden\" name=\"gebiet\" value=\"") + partLetter +
                 QStringLiteral("\">")
          << QStringLiteral("<input type=\"hidden\" name=\"testid\" value=\"") + examNumber +
                 QStringLiteral("\">")
          << QStringLiteral("</form>") << QStringLiteral("</div>") << QStringLiteral("</body>")
          << QStringLiteral("</html>");
}
