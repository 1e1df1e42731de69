#include "catalogue/DrillLink.h"

#include <QRegularExpression>

QString DrillLink::chapterName(const QString &partCode, int chapter)
{
    return partCode + u'-' + QString::number(chapter);
}

QString DrillLink::name(QChar classLetter, const QString &chapter)
{
    return QStringLiteral("Lernen-") + classLetter +
           (chapter.isEmpty() ? QString() : u'-' + chapter) + QStringLiteral(".lrn");
}

bool DrillLink::parse(const QString &target, QChar &classLetter, QString &chapter)
{
    static const QRegularExpression link(
        QStringLiteral("^Lernen-([ANE])(?:-([A-Z]{2}-\\d+))?\\.lrn$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = link.match(target.section(u'/', -1));
    if (!m.hasMatch())
        return false;
    classLetter = m.captured(1).toUpper().at(0);
    chapter = m.captured(2).toUpper();
    return true;
}
