#include "sheets/Evaluation.h"

#include "catalogue/DrillLink.h"
#include "catalogue/ExamPart.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "components/Settings.h"
#include "components/UserInterface.h"
#include "learning/LearningState.h"
#include "learning/LearningStore.h"
#include "sheets/Bogenzustand.h"
#include "sheets/ExamTimer.h"
#include "sheets/SheetGenerator.h"
#include "statistics/ExamLog.h"

#include "version.h"

using Panel = UserInterface::Panel;
using Colour = UserInterface::PanelColour;

namespace {

enum class Status { Unanswered, Wrong, Right, None };

// The hidden line of a question carries "=N" and wins over anything else on the line.
Status classify(const QString &line)
{
    if (line.contains(QLatin1String("=N")))
        return Status::Unanswered;
    if (line.contains(QLatin1String("=W")))
        return Status::Wrong;
    if (line.contains(QLatin1String("=R")))
        return Status::Right;
    return Status::None;
}

/// A question's box as the pages of a practice evaluation state it.
QString boxText(const QuestionState &state)
{
    return QStringLiteral("Box ") + QString::number(state.box) +
           (state.isSure() ? QStringLiteral(" (sicher)") : QString());
}

QString statusCell(const char *colour, const char *text)
{
    return QStringLiteral("<b><font color=\"") + QLatin1String(colour) + QStringLiteral("\">") +
           QLatin1String(text) + QStringLiteral("</font></b></td>");
}

} // namespace

QString Evaluation::oralSentence(const ExamPart &part, int right, int questions, int oralMark)
{
    // Own examinations are not drawn by the rules, practice has no pass mark.
    if (part.modeLetter != u'k' || oralMark <= 0 || questions <= 0 ||
        part.passed(right, questions) || right * 100 < oralMark * questions)
        return {};
    return QStringLiteral("Mit ") + QString::number(right) + QStringLiteral(" von ") +
           QString::number(questions) +
           QStringLiteral(" richtigen Antworten kann eine m&uuml;ndliche Nachpr&uuml;fung "
                          "m&ouml;glich sein, wenn alle anderen Teile bestanden sind.");
}

int Evaluation::BeantworteteZaehlen(const QStringList &results)
{
    int answered = 0;
    for (const QString &line : results)
        if (line.contains(QLatin1String("=W")) || line.contains(QLatin1String("=R")))
            ++answered;
    return answered;
}

void Evaluation::BogenAuswerten(const ExamPart &part, const QString &examNumber,
                                QString sectionCode, const QStringList &results)
{
    Bogenzustand &b = m_bogen;

    m_timer.stop();
    m_ui.setPanelText(Panel::Zeit, QString());
    if (b.Minuten < 1)
        b.Minuten = 1;
    m_ui.setCommandEnabled(UserInterface::Command::Antwortenliste, true);

    QString title = part.title;
    const bool training = part.modeLetter == u't';
    if (training) {
        if (sectionCode.isEmpty())
            sectionCode = QStringLiteral("---");
        b.Zeitlimit = QStringLiteral("-");
        title = QStringLiteral("Training  ") + PageParts::trainingTitle(sectionCode, part.title);
    }

    if (part.modeLetter == u'l')
        b.Zeitlimit = QStringLiteral("-");

    const int answered = BeantworteteZaehlen(results);
    QStringList s;
    appendHead(s, part, title, answered, examNumber);
    const Result result = appendResultRows(s, part, results);
    appendVerdict(s, part, result.right);
    appendClosingRow(s, part);

    // A log that cannot be written has already been reported; the candidate still
    // sees the result.
    // Practice leaves no trace in the exam log.
    if (!training && part.modeLetter != u'l')
        (void)m_examLog.LogEintragSchreiben(part, examNumber, answered, b.Fragenzahl, b.Minuten,
                                            b.Zeitlimit, result.right, result.wrongQuestions,
                                            b.EigenerPruefungsname);

    // Practice pages show the boxes the answers led to, so practice is recorded before its
    // page is written.
    const bool drill = part.modeLetter == u'l';
    const bool practice = training || drill;
    if (practice) {
        const bool recorded = record(part, result.answers);
        QHash<QString, QuestionState> states;
        // Boxes from before this sheet would be wrong ones: without its record there are none.
        const bool known = recorded && (drill || !result.missed.isEmpty()) && readStates(states);
        QStringList below = feedbackSection(part, result.missed, known ? &states : nullptr);
        if (drill)
            below << drillSection(part, known ? &states : nullptr, recorded);
        const QStringList end = s.mid(s.size() - 3);
        s.resize(s.size() - 3);
        s << below << end;
    }

    // A page that cannot be written has been reported; there is nothing else to undo.
    (void)m_writer.SeiteSpeichernUndZeigen(m_paths.evaluationPage(), s);
    m_ui.setPanelColour(Panel::Nachricht, Colour::Normal);
    m_ui.setPanelColour(Panel::Zeit, Colour::Normal);
    if (!practice)
        (void)record(part, result.answers); // a failure has been reported
}

bool Evaluation::readStates(QHash<QString, QuestionState> &states) const
{
    LearningHistory history;
    QString error;
    if (!m_learningStore.isOpen() || !m_learningStore.readHistory(history, &error))
        return false;
    QHash<QString, QString> fingerprints;
    for (auto it = m_bogen.askedQuestions.cbegin(); it != m_bogen.askedQuestions.cend(); ++it)
        fingerprints.insert(it.key(), it.value().fingerprint);
    states = LearningState::derive(fingerprints, history);
    return true;
}

QStringList Evaluation::feedbackSection(const ExamPart &part, const QList<Missed> &missed,
                                        const QHash<QString, QuestionState> *states) const
{
    const auto answerRow = [this](QStringList &s, const QString &answer, const QString &colour,
                                  const QString &marker) {
        SheetGenerator::AntwortZeile(QString(), QString(), false, s, colour,
                                     answer.left(2) + QStringLiteral("<b>") + marker +
                                         QStringLiteral(":</b> ") + answer.mid(2),
                                     m_paths.pictureRoot(answer));
    };
    QStringList blocks;
    for (const Missed &question : missed) {
        // A sheet of an earlier run: what it showed is not known.
        const auto asked = m_bogen.askedQuestions.constFind(question.id);
        if (asked == m_bogen.askedQuestions.cend())
            continue;
        QString head = QStringLiteral("<tr bgcolor=\"") + part.middle +
                       QStringLiteral("\"><td colspan=\"2\"><b>") + question.id +
                       QStringLiteral("</b>");
        if (states && states->contains(question.id))
            head += QStringLiteral(" &nbsp; ") + boxText(*states->constFind(question.id));
        blocks << QStringLiteral("<tr>") << QStringLiteral("<td>")
               << QStringLiteral(
                      "<table border=\"0\" cellpadding=\"5\" cellspacing=\"0\" width=\"100%\">")
               << head + QStringLiteral("</td></tr>");
        SheetGenerator::FragentextZeile(asked->text, part.light, blocks);
        if (!asked->picture.isEmpty())
            SheetGenerator::BildZeile(asked->picture, part.light,
                                      m_paths.pictureRoot(asked->picture), blocks);
        if (question.chosen == 0)
            blocks << QStringLiteral("<tr bgcolor=\"#f0f0f0\"><td><b>Keine Antwort:</b> offen "
                                     "gelassen</td></tr>");
        else if (const QString chosen = asked->answers.value(question.chosen - 1);
                 !chosen.isEmpty())
            answerRow(blocks, chosen, QStringLiteral("#ffd0d0"),
                      QStringLiteral("Ihre Antwort (falsch)"));
        const QString right = asked->answers.value(asked->positions.indexOf(u'R'));
        if (!right.isEmpty())
            answerRow(blocks, right, QStringLiteral("#d0ffd0"), QStringLiteral("Richtige Antwort"));
        blocks << QStringLiteral("</table>") << QStringLiteral("</td>") << QStringLiteral("</tr>");
    }
    if (blocks.isEmpty())
        return {};
    QStringList s;
    s << QStringLiteral("<table border=\"0\" cellspacing=\"2\" cellpadding=\"4\" width=\"95%\">")
      << QStringLiteral("<tr bgcolor=\"") + part.middle +
             QStringLiteral("\"><td><b>Falsch oder offen beantwortet</b>") +
             (states ? QStringLiteral(" &nbsp; ") + PageParts::text(LearningState::ruleLine())
                     : QString()) +
             QStringLiteral("</td></tr>")
      << blocks << QStringLiteral("</table>");
    return s;
}

QStringList Evaluation::drillSection(const ExamPart &part,
                                     const QHash<QString, QuestionState> *states,
                                     bool recorded) const
{
    const Bogenzustand &b = m_bogen;
    QStringList s;
    s << QStringLiteral("<table border=\"0\" cellspacing=\"2\" cellpadding=\"4\" width=\"95%\">")
      << QStringLiteral("<tr bgcolor=\"") + part.middle +
             QStringLiteral("\"><td colspan=\"2\"><b>Neue Boxen</b> &nbsp; ") +
             PageParts::text(LearningState::ruleLine()) + QStringLiteral("</td></tr>");
    if (states) {
        for (const QString &id : b.drillOrder) {
            if (!states->contains(id))
                continue;
            s << QStringLiteral("<tr bgcolor=\"") + part.light + QStringLiteral("\"><td>") + id +
                     QStringLiteral("</td><td>") + boxText(*states->constFind(id)) +
                     QStringLiteral("</td></tr>");
        }
    } else if (recorded) {
        s << QStringLiteral("<tr><td colspan=\"2\">Der Lernstand kann nicht gelesen werden; die "
                            "Boxen fehlen.</td></tr>");
    } else {
        s << QStringLiteral("<tr><td colspan=\"2\">Die Antworten dieses Bogens sind nicht im "
                            "Lernstand gespeichert; die Boxen fehlen.</td></tr>");
    }
    s << QStringLiteral("<tr><td colspan=\"2\">") +
             PageParts::link(DrillLink::name(part.classLetter, b.Abschnitt),
                             QStringLiteral("Weiter lernen")) +
             QStringLiteral("</td></tr>")
      << QStringLiteral("</table>");
    return s;
}

bool Evaluation::record(const ExamPart &part, const QList<AnswerRecord> &answers)
{
    // A store that could not be opened was told of at the start; once is enough.
    if (answers.isEmpty() || !m_learningStore.isOpen())
        return false;
    SheetRecord sheet;
    switch (part.modeLetter.unicode()) {
    case u't':
    case u'l':
        break;
    case u'k':
    case u'a':
        if (!m_settings.value(Keys::pruefungenZaehlen()))
            return false;
        break;
    default:
        return false;
    }
    sheet.kind = static_cast<SheetKind>(part.modeLetter.toLatin1());
    sheet.time = m_clock();
    sheet.partCode = part.code();
    sheet.answers = answers;
    if (part.modeLetter == u'k')
        sheet.predicted = m_bogen.predicted;
    QString error;
    if (m_learningStore.recordSheet(sheet, &error))
        return true;
    m_ui.ShowWarning(error);
    return false;
}

void Evaluation::appendHead(QStringList &s, const ExamPart &part, const QString &title,
                            int answered, const QString &examNumber)
{
    const Bogenzustand &b = m_bogen;
    PageParts::appendHead(s, QStringLiteral("Vexa - Auswertung"), m_paths.styleSheet());
    s << QStringLiteral("<table border=\"0\" cellspacing=\"2\" cellpadding=\"4\" width=\"95%\">")
      << QStringLiteral("<thead>") << QStringLiteral("<tr>") << QStringLiteral("<td colspan=\"3\">")
      << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>") << QStringLiteral("<td><big>Auswertung</big></td>")
      << QStringLiteral("<td align=\"right\">Amateurfunkzeugnis Klasse ") + part.classLetter +
             QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("<tr>")
      << QStringLiteral("<td colspan=\"3\" bgcolor=\"") + part.dark + QStringLiteral("\"><big>") +
             title + QStringLiteral("</big></td>")
      << QStringLiteral("</tr>") << QStringLiteral("<tr>")
      << QStringLiteral("<td colspan=\"3\" bgcolor=\"") + part.middle + QStringLiteral("\">") +
             QString::number(answered) + QStringLiteral(" von ") + QString::number(b.Fragenzahl) +
             QStringLiteral(" Fragen in ") + QString::number(b.Minuten) + QStringLiteral(" min (") +
             b.Zeitlimit + QStringLiteral(") bearbeitet.</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</thead>");

    s << QStringLiteral("<tfoot>") << QStringLiteral("<tr>") << QStringLiteral("<td colspan=\"3\">")
      << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>")
      << QStringLiteral("<td align=\"left\"><small>") + PageParts::signatureStart() +
             PageParts::mailLinkStart()
      << Version::companyName() + QStringLiteral("</a></small></td>")
      << QStringLiteral("<td align=\"right\">")
      << PageParts::idStampCell(part.partLetter, examNumber, m_clock()) << QStringLiteral("</tr>")
      << QStringLiteral("</table>") << QStringLiteral("</td>") << QStringLiteral("</tr>")
      << QStringLiteral("</tfoot>") << QStringLiteral("<tbody>");
}

Evaluation::Result Evaluation::appendResultRows(QStringList &s, const ExamPart &part,
                                                const QStringList &results)
{
    const QString light = QStringLiteral("bgcolor=\"") + part.light + QStringLiteral("\"");
    const QString pics = m_paths.picsDir();
    Result result;
    // Only a question whose fingerprint the sheet generator gave can be recorded.
    const auto answerOf = [this, &result](const QString &id, AnswerResult outcome,
                                          const QString &line) {
        const auto asked = m_bogen.askedQuestions.constFind(id);
        if (asked == m_bogen.askedQuestions.cend())
            return;
        AnswerRecord answer{id, asked->fingerprint, outcome, 0};
        if (outcome == AnswerResult::Wrong) {
            const int position = line.mid(line.indexOf(QLatin1String("=W")) + 2, 1).toInt();
            if (position >= 1 && position <= asked->positions.size())
                answer.wrongChoice = asked->positions.at(position - 1).digitValue();
            if (answer.wrongChoice < 1)
                answer.wrongChoice = 0;
        }
        result.answers << answer;
    };
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QString &line = results.at(i);
        const Status status = classify(line);
        if (status == Status::None)
            continue;
        const QString id = line.left(5);
        s << QStringLiteral("<tr>")
          << QStringLiteral("<td ") + light + QStringLiteral(" width=\"8%\"><b>") + id +
                 QStringLiteral("</b>")
          << QStringLiteral("</td>")
          << QStringLiteral("<td ") + light + QStringLiteral(" width=\"6%\">")
          << PageParts::questionLink(pics, id,
                                     QStringLiteral(" Fragentext und richtige L&ouml;sung"));
        if (part.partLetter == u'T') {
            const QString solution =
                PageParts::solutionLink(pics, id, m_paths.solution(part.classLetter, id));
            if (!solution.isEmpty())
                s << solution;
        }
        if (status == Status::Wrong)
            s << PageParts::wrongQuestionLink(pics, id, part.code());
        s << QStringLiteral("</td>")
          << QStringLiteral("<td ") + light + QStringLiteral(" width=\"86%\">");
        switch (status) {
        case Status::Unanswered:
            s << statusCell("#8f8f8f", "nicht bearbeitet");
            answerOf(id, AnswerResult::Unanswered, line);
            result.missed << Missed{id, 0};
            break;
        case Status::Wrong:
            s << statusCell("#d00000", "falsch");
            result.wrongQuestions += id + QStringLiteral(" ");
            answerOf(id, AnswerResult::Wrong, line);
            {
                const int chosen = line.mid(line.indexOf(QLatin1String("=W")) + 2, 1).toInt();
                result.missed << Missed{id, chosen >= 1 ? chosen : -1};
            }
            ++i; // the question's hidden line follows
            break;
        case Status::Right:
            s << statusCell("#00a000", "ok");
            ++result.right;
            answerOf(id, AnswerResult::Right, line);
            ++i;
            break;
        case Status::None:
            break;
        }
        s << QStringLiteral("</tr>");
    }
    return result;
}

void Evaluation::appendVerdict(QStringList &s, const ExamPart &part, int right)
{
    const Bogenzustand &b = m_bogen;
    const bool reached = part.passed(right, b.Fragenzahl);
    bool limitIsNumber = false;
    const int limit = b.Zeitlimit.trimmed().toInt(&limitIsNumber);
    const bool timeExceeded = limitIsNumber && limit <= b.Minuten;

    s << QStringLiteral("<tr bgcolor=\"#f0f0f0\">")
      << QStringLiteral("<td colspan=\"3\" bgcolor=\"") + part.middle + QStringLiteral("\">") +
             QString::number(right) + QStringLiteral(" von ") + QString::number(b.Fragenzahl) +
             QStringLiteral(" Fragen = <b><font color=\"") +
             (reached ? QStringLiteral("#00a000") : QStringLiteral("#d00000")) +
             QStringLiteral("\">") + QString::number(Percentage(right, b.Fragenzahl)) +
             QStringLiteral("%</font></b> richtig</td>")
      << QStringLiteral("</tr>");

    // Practice has no pass mark to reach.
    if (part.modeLetter == u't' || part.modeLetter == u'l')
        return;
    if (!reached) {
        s << QStringLiteral("<tr bgcolor=\"#ffd0d0\"><td colspan=\"3\">Schade, das wars noch "
                            "nicht. Zum Bestehen dieses Pr&uuml;fungsteils m&uuml;ssen ") +
                 QString::number(part.passMark) + QStringLiteral("% erreicht werden. Auf ein ") +
                 PageParts::fileLink(m_paths.examinationPage(part.classLetter),
                                     QStringLiteral("Neues!")) +
                 QStringLiteral("</td></tr>");
        if (const QString oral = oralSentence(part, right, b.Fragenzahl, b.oralMark);
            !oral.isEmpty())
            s << QStringLiteral("<tr bgcolor=\"#f0f0f0\"><td colspan=\"3\">") + oral +
                     QStringLiteral("</td></tr>");
    } else if (timeExceeded)
        s << QStringLiteral("<tr bgcolor=\"#ffd0d0\"><td colspan=\"3\">Schade, Sie haben die ") +
                 QString::number(part.passMark) +
                 QStringLiteral("% erreicht, aber das Zeitlimit &uuml;berschritten.</td></tr>");
    else
        s << QStringLiteral("<tr bgcolor=\"#d0ffd0\"><td colspan=\"3\">Gratulation! Sie haben "
                            "diesen Pr&uuml;fungsteil bestanden!</td></tr>");
}

void Evaluation::appendClosingRow(QStringList &s, const ExamPart &part)
{
    s << QStringLiteral("<tr bgcolor=\"#f7f7f7\"><td colspan=\"3\"><small>Ein Klick auf das "
                        "Fragezeichen zeigt den Fragentext und die richtige Antwort, einer auf "
                        "das L die L&ouml;sung von QZ7TRV.</small></td></tr>")
      << QStringLiteral("<tr bgcolor=\"#f0f0f0\">") << QStringLiteral("<td colspan=\"3\">")
      << PageParts::topLink() + QStringLiteral(" ");
    // A drill is practice: it leads back to the training pages.
    const bool training = part.modeLetter == u't' || part.modeLetter == u'l';
    // Class N exists only under an archive's rules; its sheets lead back to its pages.
    if (part.classLetter == u'N')
        s << PageParts::fileLink(training ? m_paths.trainingPage(u'N')
                                          : m_paths.examinationPage(u'N'),
                                 training ? QStringLiteral("[Training Klasse N]")
                                          : QStringLiteral("[Pr&uuml;fungen Klasse N]"));
    if (training)
        s << PageParts::fileLink(m_paths.trainingPage(u'A'),
                                 QStringLiteral("[Training Klasse A]")) +
                 QStringLiteral(" ") +
                 PageParts::fileLink(m_paths.trainingPage(u'E'),
                                     QStringLiteral("[Training Klasse E]"));
    else
        s << PageParts::fileLink(m_paths.examinationPage(u'A'),
                                 QStringLiteral("[Pr&uuml;fungen Klasse A]")) +
                 QStringLiteral(" ") +
                 PageParts::fileLink(m_paths.examinationPage(u'E'),
                                     QStringLiteral("[Pr&uuml;fungen Klasse E]")) +
                 QStringLiteral(" ") +
                 PageParts::fileLink(m_paths.statisticsLink(part.classLetter),
                                     QStringLiteral("[Statistik]"));
    s << PageParts::fileLink(m_paths.answerListPage(), QStringLiteral(" [Antwortenliste]")) +
             QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</tbody>") << QStringLiteral("</table>")
      << QStringLiteral("</div>") << QStringLiteral("</body>") << QStringLiteral("</html>");
}
