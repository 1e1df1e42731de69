#include "sheets/PageParts.h"

#include "shell/VexaCore.h"

namespace PageParts {

void appendHead(QStringList &lines, const QString &title, const QString &programDir)
{
    // The bytes are Windows-1252; Chromium would read 0x80-0x9F of an iso-8859-15 page
    // as control characters.
    lines << QStringLiteral("<html>") << QStringLiteral("<head>")
          << QStringLiteral("<title>") + title + QStringLiteral("</title>")
          << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                            "charset=windows-1252\">")
          << QStringLiteral("<link rel=\"stylesheet\" href=\"") + programDir +
                 QStringLiteral("/css/vexa2.css\" type=\"text/css\">")
          << QStringLiteral("</head>") << QStringLiteral("<body text=\"#202020\">")
          << QStringLiteral("<a name=\"top\"></a><div align=\"center\">");
}

QString mailLinkStart()
{
    return QStringLiteral("<a class=\"text\" href=\"mailto:") + VexaCore::authorMail() +
           QStringLiteral("\">");
}

QString mailLink()
{
    return mailLinkStart() + VexaCore::companyName() + QStringLiteral("</a>");
}

QString link(const QString &href, const QString &text)
{
    return QStringLiteral("<a class=\"text\" href=\"") + href + QStringLiteral("\">") + text +
           QStringLiteral("</a>");
}

QString pictureLink(const QString &href, const QString &picture, const QString &title)
{
    return QStringLiteral("<a class=\"text\" href=\"") + href + QStringLiteral("\"><img src=\"") +
           picture +
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

} // namespace PageParts
