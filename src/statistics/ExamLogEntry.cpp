#include "statistics/ExamLogEntry.h"

#include <QRegularExpression>

namespace {

QString oneLine(QString text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.replace(lineBreak, QStringLiteral(" "));
}

QString literal(QLatin1String piece)
{
    return QRegularExpression::escape(QString(piece));
}

const QRegularExpression &line1Pattern()
{
    using E = ExamLogEntry;
    static const QRegularExpression pattern(
        u'^' + literal(E::lineStart) + QStringLiteral("(\\w{%1})").arg(E::partCodeLength) +
        literal(E::numberStart) + QStringLiteral("(\\d+)") + literal(E::dateStart) +
        QStringLiteral("(\\d\\d\\.\\d\\d\\.\\d{4})") + literal(E::timeStart) +
        QStringLiteral("([^\\]]*)") + literal(E::answeredStart) + QStringLiteral("(\\d+)") +
        literal(E::questionCountStart) + QStringLiteral("(\\d+)") + literal(E::minutesStart) +
        QStringLiteral("(\\d+)") + literal(E::timeLimitStart) + QStringLiteral("([^)]*)") +
        literal(E::timeLimitEnd));
    return pattern;
}

const QRegularExpression &line2Pattern()
{
    using E = ExamLogEntry;
    static const QRegularExpression pattern(
        u'^' + literal(E::verdictStart) + QStringLiteral("#[0-9a-f]{6}") +
        literal(E::verdictTextStart) + u'(' + literal(E::passedText) + u'|' +
        literal(E::failedText) + u')' + literal(E::rightStart) + QStringLiteral("(\\d+)") +
        literal(E::rightEnd) + QStringLiteral("(?:") + literal(E::percentageStart) +
        QStringLiteral("(\\d+)") + literal(E::wrongQuestionsStart) + QStringLiteral("(.*?)(?:") +
        literal(E::ownNameStart) + QStringLiteral("(.*)") + literal(E::ownNameEnd) +
        QStringLiteral(")?") + literal(E::line2End) + QStringLiteral("$)?"));
    return pattern;
}

} // namespace

QString ExamLogEntry::dateFormat()
{
    return QStringLiteral("dd.MM.yyyy");
}

QString ExamLogEntry::timeFormat()
{
    return QStringLiteral("hh:mm:ss");
}

void ExamLogEntry::setWhen(const QDateTime &when)
{
    date = when.toString(dateFormat());
    time = when.toString(timeFormat());
}

QStringList ExamLogEntry::lines() const
{
    const QString line1 = lineStart + partCode + numberStart + oneLine(examNumber) + dateStart +
                          date + timeStart + time + answeredStart + QString::number(answered) +
                          questionCountStart + QString::number(questionCount) + minutesStart +
                          QString::number(minutes) + timeLimitStart + oneLine(timeLimit) +
                          timeLimitEnd + line1End;
    QString line2 = verdictStart + (passed ? passedColour : failedColour) + verdictTextStart +
                    (passed ? passedText : failedText) + rightStart + QString::number(right) +
                    rightEnd + percentageStart + QString::number(percentage) + wrongQuestionsStart +
                    oneLine(wrongQuestions);
    if (own)
        line2 += ownNameStart + oneLine(ownName) + ownNameEnd;
    line2 += line2End;
    return {line1, line2};
}

std::optional<ExamLogEntry> ExamLogEntry::parse(const QString &line1, const QString &line2)
{
    const QRegularExpressionMatch h = line1Pattern().match(line1);
    const QRegularExpressionMatch r = line2Pattern().match(line2);
    if (!h.hasMatch() || !r.hasMatch())
        return std::nullopt;
    ExamLogEntry e;
    e.partCode = h.captured(1);
    e.examNumber = h.captured(2);
    e.date = h.captured(3);
    e.time = h.captured(4);
    e.answered = h.captured(5).toInt();
    e.questionCount = h.captured(6).toInt();
    e.minutes = h.captured(7).toInt();
    e.timeLimit = h.captured(8);
    e.passed = r.captured(1) == passedText;
    e.right = r.captured(2).toInt();
    e.percentage = r.captured(3).toInt();
    e.wrongQuestions = r.captured(4);
    // Wherever the bracket stands: the readers have always taken it as an own examination.
    e.own = line2.contains(ownNameStart);
    e.ownName = r.captured(5);
    return e;
}
