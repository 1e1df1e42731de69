#include "catalogue/PageParts.h"

#include "components/Cp1252.h"
#include "components/DataPaths.h"

#include "version.h"

#include <QFileInfo>
#include <QUrl>

namespace PageParts {

namespace {

QString picture(const QString &picsDir, DataPaths::Picture which)
{
    return picsDir + u'/' + DataPaths::pictureName(which);
}

} // namespace

QString fileUrl(const QString &localPath)
{
    return QUrl::fromLocalFile(localPath).toString(QUrl::FullyEncoded);
}

void appendHead(QStringList &lines, const QString &title, const QString &styleSheet)
{
    appendHtmlHead(lines, title, styleSheet);
    lines << QStringLiteral("<body text=\"#202020\">")
          << QStringLiteral("<a name=\"top\"></a><div align=\"center\">");
}

void appendHtmlHead(QStringList &lines, const QString &title, const QString &styleSheet)
{
    // The bytes are Windows-1252; Chromium would read 0x80-0x9F of an iso-8859-15 page
    // as control characters.
    lines << QStringLiteral("<html>") << QStringLiteral("<head>")
          << QStringLiteral("<title>") + title + QStringLiteral("</title>")
          << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                            "charset=windows-1252\">")
          << QStringLiteral("<link rel=\"stylesheet\" href=\"") + fileUrl(styleSheet) +
                 QStringLiteral("\" type=\"text/css\">")
          << QStringLiteral("</head>");
}

QString text(const QString &plain)
{
    return Cp1252::withCharacterReferences(plain.toHtmlEscaped());
}

void appendColumnPageStart(QStringList &lines, const QString &title, const QString &heading,
                           const QString &styleSheet)
{
    appendHtmlHead(lines, title, styleSheet);
    lines << QStringLiteral("<body>")
          << QStringLiteral("<a name=\"top\"></a><div align=\"center\">")
          << QStringLiteral(
                 "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" width=\"740\">")
          << QStringLiteral("<tr><td><div class=\"inhalt\">")
          << QStringLiteral("<h1>") + heading + QStringLiteral("</h1>");
}

void appendColumnPageEnd(QStringList &lines)
{
    lines << QStringLiteral("</div></td></tr>") << QStringLiteral("</table>")
          << QStringLiteral("</div>") << QStringLiteral("</body>") << QStringLiteral("</html>");
}

QString mailLinkStart()
{
    return QStringLiteral("<a class=\"text\" href=\"mailto:") + Version::authorMail() +
           QStringLiteral("\">");
}

QString mailLink()
{
    return mailLinkStart() + Version::companyName() + QStringLiteral("</a>");
}

QString link(const QString &href, const QString &text)
{
    return QStringLiteral("<a class=\"text\" href=\"") + href + QStringLiteral("\">") + text +
           QStringLiteral("</a>");
}

QString fileLink(const QString &localPath, const QString &text)
{
    return link(fileUrl(localPath), text);
}

QString pictureLink(const QString &href, const QString &picture, const QString &title)
{
    return QStringLiteral("<a class=\"text\" href=\"") + href + QStringLiteral("\"><img src=\"") +
           fileUrl(picture) +
           QStringLiteral("\" vspace=\"2\" hspace=\"3\" align=\"left\" border=\"0\" title=\"") +
           title + QStringLiteral("\"></a>");
}

QString topLink()
{
    return QStringLiteral("<a class=\"text\" href=\"#top\" title=\" zum Seitenanfang\">[Top]</a>");
}

QString stamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("dd.MM.yyyy  hh:mm:ss"));
}

QString signatureStart()
{
    return QStringLiteral("Vexa &nbsp;");
}

QString idStampCell(QChar partLetter, const QString &examNumber, const QDateTime &when)
{
    return QStringLiteral("<small>") + partLetter + QStringLiteral("ID: ") + examNumber +
           QStringLiteral(" &nbsp; ") + stamp(when) + QStringLiteral("</small><br></td>");
}

QString shownLimit(const QString &timeLimit)
{
    return timeLimit == QLatin1String("9999") ? QStringLiteral("-") : timeLimit;
}

QString trainingTitle(const QString &sectionCode, const QString &partTitle)
{
    return sectionCode.left(2) + u'/' + sectionCode.mid(2, 1) + QStringLiteral("  ") +
           partTitle.mid(17, 40);
}

void appendTitleCells(QStringList &lines, const QString &title, QChar classLetter,
                      int questionCount, const QString &timeLimit)
{
    lines << QStringLiteral("<td><big>") + title + QStringLiteral("</big></td>")
          << QStringLiteral("<td align=\"center\">Amateurfunkzeugnis Klasse ") + classLetter +
                 QStringLiteral("</td>")
          << QStringLiteral("<td align=\"right\">") + QString::number(questionCount) +
                 QStringLiteral(" Fragen &nbsp; Zeit: ") + shownLimit(timeLimit) +
                 QStringLiteral(" Minuten</td>");
}

QString questionLink(const QString &picsDir, const QString &id, const QString &title)
{
    return pictureLink(id + QStringLiteral(".qst"),
                       picture(picsDir, DataPaths::Picture::QuestionMark), title);
}

QString solutionLink(const QString &picsDir, const QString &id, const QString &solutionFile)
{
    if (!QFileInfo(solutionFile).isFile())
        return QString();
    return pictureLink(id + QStringLiteral(".sln"), picture(picsDir, DataPaths::Picture::Solution),
                       QStringLiteral(" Die L&ouml;sung zu ") + id + QStringLiteral(" von QZ7TRV"));
}

QString wrongQuestionLink(const QString &picsDir, const QString &id, const QString &partCode)
{
    return pictureLink(id + QStringLiteral(".qff"),
                       picture(picsDir, DataPaths::Picture::WrongQuestion),
                       QStringLiteral(" ") + id + QStringLiteral(" zu ") + partCode +
                           QStringLiteral("FalscheFragen.qlt hinzuf&uuml;gen"));
}

} // namespace PageParts
