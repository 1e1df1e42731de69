#include "statistics/ClassReadiness.h"

#include "statistics/ExamLogEntry.h"

#include <QHash>

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
    // The last examination of each part code, oldest entries first in the log.
    QHash<QString, Part> last;
    for (qsizetype i = 0; i + 1 < logLines.size(); i += 2) {
        const std::optional<ExamLogEntry> entry =
            ExamLogEntry::parse(logLines.at(i), logLines.at(i + 1));
        if (!entry || entry->own)
            continue;
        const ExamRules::Part *rule = rules.part(entry->partCode);
        if (!rule || entry->questionCount != rule->questions)
            continue;
        Part p;
        p.code = rule->code;
        p.title = rule->title;
        p.taken = true;
        // The evaluation's rule: the time is up when the minutes reach the limit.
        bool limitIsNumber = false;
        const int limit = entry->timeLimit.trimmed().toInt(&limitIsNumber);
        const bool timeExceeded = limitIsNumber && limit <= entry->minutes;
        p.passed = entry->passed && !timeExceeded;
        p.late = entry->passed && timeExceeded;
        p.examNumber = entry->examNumber;
        p.date = entry->date;
        p.right = entry->right;
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
