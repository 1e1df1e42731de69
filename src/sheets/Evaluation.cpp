#include "sheets/Evaluation.h"

#include "catalogue/PartParameters.h"
#include "sheets/ExamTimer.h"
#include "sheets/PageParts.h"
#include "shell/UserInterface.h"
#include "shell/VexaCore.h"
#include "statistics/ExamLog.h"

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

QString statusCell(const char *colour, const char *text)
{
    return QStringLiteral("<b><font color=\"") + QLatin1String(colour) + QStringLiteral("\">") +
           QLatin1String(text) + QStringLiteral("</font></b></td>");
}

} // namespace

int Evaluation::BeantworteteZaehlen(const QStringList &results)
{
    int answered = 0;
    for (const QString &line : results)
        if (line.contains(QLatin1String("=W")) || line.contains(QLatin1String("=R")))
            ++answered;
    return answered;
}

void Evaluation::BogenAuswerten(QChar p, QChar c, QChar kind, const QString &examNumber,
                                QString sectionCode, const QStringList &results)
{
    Bogenzustand &b = m_core.bogen();
    UserInterface &ui = m_core.ui();
    const QString programDir = m_core.programDir();

    m_core.timer().stop();
    ui.setPanelText(Panel::Zeit, QString());
    if (b.Minuten < 1)
        b.Minuten = 1;
    ui.setCommandEnabled(UserInterface::Command::Antwortenliste, true);

    PartValues part;
    PartParameters(c, p, kind, part);
    QString title = part.title;
    const bool training = kind == u't';
    if (training) {
        if (sectionCode.isEmpty())
            sectionCode = QStringLiteral("---");
        b.Zeitlimit = QStringLiteral("-");
        title = QStringLiteral("Training  ") + sectionCode.left(2) + QStringLiteral("/") +
                sectionCode.mid(2, 1) + QStringLiteral("  ") + part.title.mid(17, 40);
    }

    const int answered = BeantworteteZaehlen(results);

    QStringList s;
    PageParts::appendHead(s, QStringLiteral("Vexa - Auswertung"), programDir);
    s << QStringLiteral("<table border=\"0\" cellspacing=\"2\" cellpadding=\"4\" width=\"95%\">")
      << QStringLiteral("<thead>") << QStringLiteral("<tr>") << QStringLiteral("<td colspan=\"3\">")
      << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>") << QStringLiteral("<td><big>Auswertung</big></td>")
      << QStringLiteral("<td align=\"right\">Amateurfunkzeugnis Klasse ") + c +
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
      << QStringLiteral("<td align=\"left\"><small>Vexa &nbsp;") + PageParts::mailLinkStart()
      << VexaCore::companyName() + QStringLiteral("</a></small></td>")
      << QStringLiteral("<td align=\"right\">")
      << QStringLiteral("<small>") + p + QStringLiteral("ID: ") + examNumber +
             QStringLiteral(" &nbsp; ") + PageParts::stamp(m_core.now()) +
             QStringLiteral("</small><br></td>")
      << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</tfoot>") << QStringLiteral("<tbody>");

    const QString light = QStringLiteral("bgcolor=\"") + part.light + QStringLiteral("\"");
    const QString pics = programDir + QStringLiteral("/pics/");
    int right = 0;
    QString wrongQuestions;
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
          << PageParts::pictureLink(id + QStringLiteral(".qst"), pics + QStringLiteral("qm.gif"),
                                    QStringLiteral(" Fragentext und richtige L&ouml;sung"));
        if (p == u'T')
            s << PageParts::pictureLink(id + QStringLiteral(".sln"), pics + QStringLiteral("L.gif"),
                                        QStringLiteral(" Die L&ouml;sung zu ") + id +
                                            QStringLiteral(" von QZ7TRV"));
        if (status == Status::Wrong)
            s << PageParts::pictureLink(id + QStringLiteral(".qff"), pics + QStringLiteral("F.gif"),
                                        QStringLiteral(" ") + id + QStringLiteral(" zu ") + p + c +
                                            QStringLiteral("FalscheFragen.qlt hinzuf&uuml;gen"));
        s << QStringLiteral("</td>")
          << QStringLiteral("<td ") + light + QStringLiteral(" width=\"86%\">");
        switch (status) {
        case Status::Unanswered:
            s << statusCell("#8f8f8f", "nicht bearbeitet");
            break;
        case Status::Wrong:
            s << statusCell("#d00000", "falsch");
            wrongQuestions += id + QStringLiteral(" ");
            ++i; // the question's hidden line follows
            break;
        case Status::Right:
            s << statusCell("#00a000", "ok");
            ++right;
            ++i;
            break;
        case Status::None:
            break;
        }
        s << QStringLiteral("</tr>");
    }

    const bool reached = PassMarkReached(right, b.Fragenzahl);
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

    if (!training) {
        if (!reached)
            s << QStringLiteral("<tr bgcolor=\"#ffd0d0\"><td colspan=\"3\">Schade, das wars noch "
                                "nicht. Zum Bestehen dieses Pr&uuml;fungsteils m&uuml;ssen 73% "
                                "erreicht werden. Auf ein ") +
                     PageParts::link(programDir + QStringLiteral("/html/klasse") + c +
                                         QStringLiteral(".html"),
                                     QStringLiteral("Neues!")) +
                     QStringLiteral("</td></tr>");
        else if (timeExceeded)
            s << QStringLiteral("<tr bgcolor=\"#ffd0d0\"><td colspan=\"3\">Schade, Sie haben die "
                                "73% erreicht, aber das Zeitlimit &uuml;berschritten.</td></tr>");
        else
            s << QStringLiteral("<tr bgcolor=\"#d0ffd0\"><td colspan=\"3\">Gratulation! Sie haben "
                                "diesen Pr&uuml;fungsteil bestanden!</td></tr>");
    }

    const QString html = programDir + QStringLiteral("/html/");
    s << QStringLiteral("<tr bgcolor=\"#f7f7f7\"><td colspan=\"3\"><small>Ein Klick auf das "
                        "Fragezeichen zeigt den Fragentext und die richtige Antwort, einer auf "
                        "das L die L&ouml;sung von QZ7TRV.</small></td></tr>")
      << QStringLiteral("<tr bgcolor=\"#f0f0f0\">") << QStringLiteral("<td colspan=\"3\">")
      << PageParts::topLink() + QStringLiteral(" ");
    if (training)
        s << PageParts::link(html + QStringLiteral("trainingA.html"),
                             QStringLiteral("[Training Klasse A]")) +
                 QStringLiteral(" ") +
                 PageParts::link(html + QStringLiteral("trainingE.html"),
                                 QStringLiteral("[Training Klasse E]"));
    else
        s << PageParts::link(html + QStringLiteral("klasseA.html"),
                             QStringLiteral("[Pr&uuml;fungen Klasse A]")) +
                 QStringLiteral(" ") +
                 PageParts::link(html + QStringLiteral("klasseE.html"),
                                 QStringLiteral("[Pr&uuml;fungen Klasse E]")) +
                 QStringLiteral(" ") +
                 PageParts::link(html + QStringLiteral("statistik") + c + QStringLiteral(".html"),
                                 QStringLiteral("[Statistik]"));
    s << PageParts::link(m_core.htmlDir() + QStringLiteral("/LetzteAntworten.html"),
                         QStringLiteral(" [Antwortenliste]")) +
             QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</tbody>") << QStringLiteral("</table>")
      << QStringLiteral("</div>") << QStringLiteral("</body>") << QStringLiteral("</html>");

    // A log that cannot be written has already been reported; the candidate still
    // sees the result.
    if (!training)
        m_core.examLog().LogEintragSchreiben(p, c, examNumber, answered, b.Fragenzahl, b.Minuten,
                                             b.Zeitlimit, right, wrongQuestions,
                                             b.EigenerPruefungsname);

    m_core.SeiteSpeichernUndZeigen(m_core.htmlDir() + QStringLiteral("/LetzteAuswertung.html"), s);
    ui.setPanelColour(Panel::Nachricht, Colour::Normal);
    ui.setPanelColour(Panel::Zeit, Colour::Normal);
}
