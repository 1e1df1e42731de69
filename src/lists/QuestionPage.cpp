#include "lists/QuestionPage.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ExamPart.h"
#include "catalogue/PageParts.h"
#include "catalogue/TextUtilities.h"
#include "components/DataPaths.h"
#include "sheets/SheetGenerator.h"

namespace QuestionPage {

bool build(const QStringList &catalogueLines, const QString &id, const ExamPart &part,
           const DataPaths &paths, QStringList &lines)
{
    // Line 0 is the entry's version line, never a question.
    const int i = FindQuestionLine(catalogueLines, QStringLiteral("::") + id, QString());
    // The prefix search would take a shorter text for the first ID that starts with it.
    if (i <= 0 || catalogueLines.at(i).mid(2, 5) != id)
        return false;
    const auto lineAt = [&catalogueLines](int n) {
        return n < catalogueLines.size() ? catalogueLines.at(n) : QString();
    };
    const QString text = UmlautsToEntities(lineAt(i + 1).mid(2));
    QString picture;
    QString answer = lineAt(i + 2);
    if (answer.left(2).compare(QLatin1String("P:"), Qt::CaseInsensitive) == 0) {
        picture = answer.mid(2);
        answer = lineAt(i + 3);
    }
    answer = UmlautsToEntities(answer);

    QStringList page;
    PageParts::appendHtmlHead(page, QStringLiteral("Vexa - Frage und richtige Antwort"),
                              paths.styleSheet());
    page << QStringLiteral("<body text=\"#202020\" bgcolor=\"#ffffff\">")
         << QStringLiteral("<div align=\"center\">")
         << QStringLiteral(
                "<table border=\"0\" cellpadding=\"5\" cellspacing=\"0\" width=\"100%\">")
         << QStringLiteral("<tr bgcolor=\"") + part.middle +
                QStringLiteral("\"><td colspan=\"2\"><b>") + id + QStringLiteral("</b></td></tr>");
    SheetGenerator::FragentextZeile(text, part.light, page);
    if (!picture.isEmpty())
        SheetGenerator::BildZeile(picture, part.light, paths.pictureRoot(picture), page);
    SheetGenerator::AntwortZeile(id, QString(), false, page, part.light, answer,
                                 paths.pictureRoot(answer));
    page << QStringLiteral("</table>")
         << QStringLiteral(
                "<table border=\"0\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">")
         << QStringLiteral("<tr>")
         << QStringLiteral("<td align=\"center\"><br><a class=\"text\" href=\"./\">"
                           "[schlie&szlig;en]</a></td>")
         << QStringLiteral("</tr>") << QStringLiteral("</table>") << QStringLiteral("</div>")
         << QStringLiteral("</body>") << QStringLiteral("</html>");
    lines = page;
    return true;
}

} // namespace QuestionPage
