#include "catalogue/DrillLink.h"

#include <QRegularExpression>

namespace {

const QString kListPrefix = QStringLiteral("L-");

} // namespace

QString DrillLink::chapterName(const QString &partCode, int chapter)
{
    return partCode + u'-' + QString::number(chapter);
}

QString DrillLink::listName(const QStringList &questionIds)
{
    return kListPrefix + questionIds.join(u'.');
}

bool DrillLink::isList(const QString &scope)
{
    return scope.startsWith(kListPrefix, Qt::CaseInsensitive);
}

QStringList DrillLink::listIds(const QString &scope)
{
    if (!isList(scope))
        return {};
    return scope.mid(kListPrefix.size()).toUpper().split(u'.', Qt::SkipEmptyParts);
}

QString DrillLink::name(QChar classLetter, const QString &chapter)
{
    return QStringLiteral("Lernen-") + classLetter +
           (chapter.isEmpty() ? QString() : u'-' + chapter) + QStringLiteral(".lrn");
}

bool DrillLink::parse(const QString &target, QChar &classLetter, QString &chapter)
{
    static const QRegularExpression link(
        QStringLiteral("^Lernen-([ANE])(?:-([A-Z]{2}-\\d+|L-[A-Z]{2}\\d{3}(?:\\.[A-Z]{2}\\d{3})*))?"
                       "\\.lrn$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = link.match(target.section(u'/', -1));
    if (!m.hasMatch())
        return false;
    const QString scope = m.captured(2).toUpper();
    if (isList(scope) && listIds(scope).size() > kMaxListed)
        return false;
    classLetter = m.captured(1).toUpper().at(0);
    chapter = scope;
    return true;
}

bool DrillLink::looksLikeLink(const QString &target)
{
    const QString file = target.section(u'/', -1);
    return file.startsWith(QLatin1String("Lernen-"), Qt::CaseInsensitive) &&
           file.endsWith(QLatin1String(".lrn"), Qt::CaseInsensitive);
}

QString DrillLink::brokenLinkMessage(const QString &target)
{
    return QStringLiteral("Der Lernen-Link \u201E%1\u201C ist ungültig; er nennt keine Klasse, "
                          "kein Kapitel und keine Fragen des Fragenkatalogs.")
        .arg(target.section(u'/', -1));
}
