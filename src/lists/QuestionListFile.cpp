#include "lists/QuestionListFile.h"

#include "components/TextFile.h"

namespace QuestionListFile {

ReadResult parse(const QStringList &lines, QuestionList &list)
{
    QuestionList parsed;
    qsizetype first = 0;
    if (!lines.isEmpty() && lines.first().startsWith(u'#')) {
        parsed.comment = lines.first().mid(1);
        first = 1;
    }
    if (lines.size() - first < 2)
        return ReadResult::NotAList;
    const QString &partLine = lines.at(first);
    parsed.partCode = partLine.left(2);
    parsed.count = partLine.mid(3);
    parsed.minutes = lines.at(first + 1).mid(5).trimmed();
    parsed.ids = lines.mid(first + 2);
    list = parsed;
    return ReadResult::Read;
}

ReadResult read(const QString &path, QuestionList &list)
{
    QStringList fileLines;
    if (!TextFile::readLines(path, fileLines))
        return ReadResult::Missing;
    return parse(fileLines, list);
}

QStringList lines(const QuestionList &list)
{
    QStringList out;
    if (!list.comment.trimmed().isEmpty())
        out << u'#' + list.comment;
    out << list.partCode + u'=' + list.count << QStringLiteral("Zeit=") + list.minutes;
    out += list.ids;
    return out;
}

QStringList wrongQuestionsHeader(const QString &partCode)
{
    return {QStringLiteral("#Falsche Fragen ") + partCode, partCode + QStringLiteral("=2"),
            QStringLiteral("Zeit=30")};
}

} // namespace QuestionListFile
