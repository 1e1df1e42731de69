#include "learning/PartsNeeded.h"

#include "catalogue/ExamRules.h"

QStringList PartsNeeded::classParts(const ExamRules &rules, QChar classLetter)
{
    if (!rules.parts.isEmpty())
        return rules.pageOrder(classLetter);
    if (classLetter == u'E')
        return {QStringLiteral("TE"), QStringLiteral("BE"), QStringLiteral("VE")};
    if (classLetter == u'A')
        return {QStringLiteral("TA"), QStringLiteral("BE"), QStringLiteral("VE")};
    return {};
}

bool PartsNeeded::stillValid(const QDate &passedOn, const QDate &day)
{
    return passedOn.isValid() && day.isValid() && passedOn <= day &&
           day < passedOn.addMonths(kValidMonths);
}

QStringList PartsNeeded::of(const ExamRules &rules, QChar classLetter, const Holding &holding,
                            const QDate &day)
{
    const QStringList held =
        holding.licence.isNull() ? QStringList() : classParts(rules, holding.licence);
    QStringList needed;
    for (const QString &code : classParts(rules, classLetter)) {
        if (held.contains(code))
            continue;
        const auto passed = holding.passedParts.constFind(code);
        if (passed != holding.passedParts.cend() && stillValid(*passed, day))
            continue;
        needed << code;
    }
    return needed;
}
