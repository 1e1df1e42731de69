#include "statistics/LogPage.h"

#include "catalogue/PageParts.h"
#include "catalogue/PageWriter.h"
#include "components/DataPaths.h"
#include "components/UserInterface.h"
#include "statistics/ExamLog.h"

#include <QFile>
#include <QFileInfo>

QStringList LogPage::pageLines(const DataPaths &paths, const QStringList &logLines,
                               const QDateTime &when)
{
    QStringList s;
    s.reserve(logLines.size() * 3 + 48);
    PageParts::appendHead(s, QStringLiteral("Vexa - Pr&uuml;fungslog"), paths.styleSheet());
    s << QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"95%\">")
      << QStringLiteral("<thead>") << QStringLiteral("<tr>") << QStringLiteral("<td colspan=\"2\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>") << QStringLiteral("<td><big>Pr&uuml;fungslog</big></td>");
    if (logLines.size() < 4)
        s << QStringLiteral("<td>&nbsp;</td>");
    else
        s << QStringLiteral("<td align=\"right\">") + QString::number(logLines.size() / 2) +
                 QStringLiteral(" Eintr&auml;ge</td>");
    s << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("</thead>") << QStringLiteral("<tfoot>")
      << QStringLiteral("<tr bgcolor=\"#f0f0f0\">")
      << QStringLiteral("<td colspan=\"2\">") + PageParts::topLink() + u' ' +
             PageParts::fileLink(paths.examinationsPage(), QStringLiteral("[Pr&uuml;fungen]")) +
             u' ' +
             PageParts::fileLink(paths.statisticsLink(u'A'),
                                 QStringLiteral("[Statistik Klasse A]")) +
             u' ' +
             PageParts::fileLink(paths.statisticsLink(u'E'),
                                 QStringLiteral("[Statistik Klasse E]")) +
             QStringLiteral("</td>")
      << QStringLiteral("</tr>") << QStringLiteral("<tr>") << QStringLiteral("<td colspan=\"2\">")
      << QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr>") << QStringLiteral("<td align=\"left\">")
      << QStringLiteral("<small>") + PageParts::signatureStart() + PageParts::mailLink() +
             QStringLiteral("</small>")
      << QStringLiteral("</td>") << QStringLiteral("<td align=\"right\">")
      << QStringLiteral("<small>") + PageParts::stamp(when) + QStringLiteral("</small><br></td>")
      << QStringLiteral("</td>") << QStringLiteral("</tr>") << QStringLiteral("</table>")
      << QStringLiteral("</td>") << QStringLiteral("</tr>") << QStringLiteral("</tfoot>")
      << QStringLiteral("<tbody>");

    // Both rows of an entry share a colour; the shades alternate over all entries.
    static const QString shades[2][2] = {
        {QStringLiteral("<tr bgcolor=\"#e0ffe0\">"), QStringLiteral("<tr bgcolor=\"#f0fff0\">")},
        {QStringLiteral("<tr bgcolor=\"#ffe7e7\">"), QStringLiteral("<tr bgcolor=\"#fff0f0\">")}};
    for (qsizetype i = 0; i < logLines.size(); ++i) {
        const qsizetype entry = i / 2;
        // An unpaired last line has no verdict and counts as passed.
        const qsizetype second = entry * 2 + 1;
        const bool failed =
            second < logLines.size() && logLines.at(second).contains(QLatin1String("nein"));
        s << shades[failed ? 1 : 0][entry % 2] << QStringLiteral("  ") + logLines.at(i)
          << QStringLiteral("</tr>");
    }
    s << QStringLiteral("</tbody>") << QStringLiteral("</table>") << QStringLiteral("</div>")
      << QStringLiteral("</body>") << QStringLiteral("</html>");
    return s;
}

bool LogPage::LogSpeedButtonClick()
{
    return m_writer.SeiteSpeichernUndZeigen(m_paths.logPage(),
                                            pageLines(m_paths, m_log.lines(), m_clock()));
}

void LogPage::LogloeschenClick()
{
    const QString path = m_paths.logFile();
    const QFileInfo file(path);
    if (!file.exists())
        return;
    if (!m_ui.confirm(QStringLiteral("Wollen Sie ") + file.fileName() +
                      QStringLiteral(" wirklich löschen?")))
        return;
    QFile log(path);
    if (!log.remove()) {
        // The next entry rewrites the file from LogLines: it must not lose what stays.
        m_log.refresh();
        m_ui.ShowWarning(QStringLiteral("Die Logdatei %1 kann nicht gelöscht werden (%2).")
                             .arg(path, log.errorString()));
        return;
    }
    m_log.deleted();
    LogSpeedButtonClick();
    m_ui.setPanelText(UserInterface::Panel::Nachricht,
                      QStringLiteral(" ") + path + QStringLiteral(" wurde gelöscht."));
}
