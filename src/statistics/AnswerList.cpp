#include "statistics/AnswerList.h"

#include "catalogue/ExamPart.h"
#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"

QString AnswerList::path() const
{
    return m_paths.answerListPage();
}

bool AnswerList::AntwortenlisteErstellen(const ExamPart &part, int questionCount,
                                         const QString &title, const QString &timeLimit,
                                         const QString &examNumber, const QStringList &answerKey)
{
    const QChar classLetter = part.classLetter;
    QStringList s;
    PageParts::appendHead(s, QStringLiteral("Vexa - Antwortenliste"), m_paths.styleSheet());
    s << QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"95%\">")
      << QStringLiteral("<thead>");

    // Heading row.
    s << QStringLiteral("<tr>") << QStringLiteral("<td>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"3\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>")
      << QStringLiteral("<td><big>Antwortenliste zu ") + part.partLetter + QStringLiteral("ID ") +
             examNumber + QStringLiteral("</big></td>")
      << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>");

    // Title row.
    s << QStringLiteral("<tr>") << QStringLiteral("<td>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"3\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr bgcolor=\"") + part.dark + QStringLiteral("\">");
    PageParts::appendTitleCells(s, title, classLetter, questionCount, timeLimit);
    s << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>");

    // Column headers.
    s << QStringLiteral("<tr>") << QStringLiteral("<td>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"4\" cellspacing=\"2\" width=\"100%\">")
      << QStringLiteral("<tr bgcolor=\"") + part.middle + QStringLiteral("\">")
      << QStringLiteral("<td width=\"60\">Frage</td>");
    for (const char *letter : {"A", "B", "C", "D"})
        s << QStringLiteral("<td align=\"center\" width=\"30\" bgcolor=\"#f0f0f0\">") +
                 QLatin1String(letter) + QStringLiteral("</td>");
    s << QStringLiteral("<td>&nbsp;</td>") << QStringLiteral("</tr>") << QStringLiteral("</table>")
      << QStringLiteral("</td>") << QStringLiteral("</tr>");

    // Foot.
    s << QStringLiteral("</thead>") << QStringLiteral("<tfoot>") << QStringLiteral("<tr>")
      << QStringLiteral("<td>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"4\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr bgcolor=\"#f7f7f7\"><td><small>Ein Klick auf die Fragenummer "
                        "zeigt den Fragentext und die richtige Antwort.</small></td></tr>")
      << QStringLiteral("<tr bgcolor=\"#f0f0f0\">")
      << QStringLiteral("<td>") + PageParts::topLink() + u' ' +
             PageParts::fileLink(m_paths.trainingPage(classLetter), QStringLiteral("[Training]")) +
             u' ' +
             PageParts::fileLink(m_paths.examinationPage(classLetter),
                                 QStringLiteral("[Pr&uuml;fungen]"))
      << QStringLiteral("</td>") << QStringLiteral("</tr>") << QStringLiteral("</table>")
      << QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">")
      << QStringLiteral("<tr>")
      << QStringLiteral("<td align=\"left\"><small>") + PageParts::signatureStart() +
             PageParts::mailLink() + QStringLiteral("</small>")
      << QStringLiteral("</td>")
      << QStringLiteral("<td align=\"right\"><small>") + PageParts::stamp(m_clock()) +
             QStringLiteral("</small><br></td>")
      << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</tfoot>");

    // One row per question.
    s << QStringLiteral("<tbody>") << QStringLiteral("<tr>") << QStringLiteral("<td>")
      << QStringLiteral("<table border=\"0\" cellpadding=\"4\" cellspacing=\"2\" width=\"100%\">");
    const qsizetype rows = qMin<qsizetype>(qMax(questionCount, 0), answerKey.size());
    for (qsizetype i = 0; i < rows; ++i) {
        const QString &entry = answerKey.at(i);
        const QString id = entry.left(5);
        const QChar position = entry.size() > 8 ? entry.at(8) : QChar();
        s << QStringLiteral("<tr bgcolor=\"") + part.light + QStringLiteral("\">")
          << QStringLiteral("<td width=\"60\">") +
                 PageParts::link(id + QStringLiteral(".qst"), id) + QStringLiteral("</td>");
        for (int k = 1; k <= 4; ++k) {
            if (position == QChar(char16_t(u'0' + k)))
                s << QStringLiteral("<td align=\"center\" width=\"30\" bgcolor=\"#d0ffd0\">") +
                         QChar(char16_t(u'A' + k - 1)) + QStringLiteral("</td>");
            else
                s << QStringLiteral("<td bgcolor=\"#fff0f0\">&nbsp;</td>");
        }
        s << QStringLiteral("<td>&nbsp;</td>") << QStringLiteral("</tr>");
    }
    s << QStringLiteral("</table>") << QStringLiteral("</td>") << QStringLiteral("</tr>")
      << QStringLiteral("</tbody>") << QStringLiteral("</table>") << QStringLiteral("</div>")
      << QStringLiteral("</body>") << QStringLiteral("</html>");

    if (!m_writer.saveLines(path(), s))
        return false;
    if (part.modeLetter == u't')
        m_ui.setCommandEnabled(UserInterface::Command::Antwortenliste, true);
    return true;
}
