#include "statistics/ClassReadiness.h"

#include <QHash>
#include <QRegularExpression>

bool ClassReadiness::ready() const
{
    return !parts.isEmpty() &&
           std::all_of(parts.cbegin(), parts.cend(), [](const Part &p) { return p.passed; });
}

QStringList ClassReadiness::missing() const
{
    QStringList titles;
    for (const Part &p : parts)
        if (!p.passed)
            titles << p.title;
    return titles;
}

ClassReadiness ClassReadiness::of(const ExamRules &rules, QChar classLetter,
                                  const QStringList &logLines)
{
    static const QRegularExpression head(
        QStringLiteral("^<td>(\\w\\w)/(\\d+)&nbsp;&nbsp;</td><td>\\[(\\d\\d\\.\\d\\d\\.\\d{4}) "
                       "[^\\]]*\\] &nbsp;\\d+ von (\\d+) Fragen in (\\d+) min \\(([^)]*)\\) "));
    static const QRegularExpression result(
        QStringLiteral("^<td valign=\"top\"><b><font color=\"#[0-9a-f]{6}\">(ok|nein)</font>"
                       "</b></td><td>Richtig: (\\d+) "));

    // The last examination of each part code, oldest entries first in the log.
    QHash<QString, Part> last;
    for (qsizetype i = 0; i + 1 < logLines.size(); i += 2) {
        const QRegularExpressionMatch h = head.match(logLines.at(i));
        const QRegularExpressionMatch r = result.match(logLines.at(i + 1));
        if (!h.hasMatch() || !r.hasMatch() || logLines.at(i + 1).contains(QLatin1String("<br>[")))
            continue;
        const ExamRules::Part *rule = rules.part(h.captured(1));
        if (!rule || h.captured(4).toInt() != rule->questions)
            continue;
        Part p;
        p.code = rule->code;
        p.title = rule->title;
        p.taken = true;
        // The evaluation's rule: the time is up when the minutes reach the limit.
        bool limitIsNumber = false;
        const int limit = h.captured(6).trimmed().toInt(&limitIsNumber);
        const bool timeExceeded = limitIsNumber && limit <= h.captured(5).toInt();
        const bool reached = r.captured(1) == QLatin1String("ok");
        p.passed = reached && !timeExceeded;
        p.late = reached && timeExceeded;
        p.examNumber = h.captured(2);
        p.date = h.captured(3);
        p.right = r.captured(2).toInt();
        last.insert(p.code, p);
    }

    ClassReadiness readiness;
    readiness.letter = classLetter;
    for (const QString &code : rules.pageOrder(classLetter)) {
        Part notTaken;
        notTaken.code = code;
        notTaken.title = rules.part(code)->title;
        readiness.parts.append(last.value(code, notTaken));
    }
    return readiness;
}
