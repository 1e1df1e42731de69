#include "statistics/LogRecords.h"

#include "catalogue/TextUtilities.h"
#include "statistics/ExamLogEntry.h"

namespace LogRecords {

namespace {

// The walk finds a field by one character of the piece before it, the character the log
// has always been read by, and skips that character and the rest of the piece.
struct Marker
{
    QChar character;
    qsizetype skip;
};

Marker markerIn(QLatin1String piece, char character)
{
    const qsizetype at = piece.indexOf(QLatin1Char(character));
    Q_ASSERT(at >= 0);
    return {QLatin1Char(character), piece.size() - at};
}

// Makes rest the text after the marker's position plus its skip; when the marker is
// missing, from skip - 1 on (the marker counts as found at position 0).
void cutAfter(QStringView &rest, const Marker &marker)
{
    const qsizetype at = rest.indexOf(marker.character);
    const qsizetype from = at + marker.skip;
    rest = from < rest.size() ? rest.mid(from) : QStringView();
}

// The character that ends a field: the first of the piece after it.
QChar endOf(QLatin1String pieceAfter)
{
    return QLatin1Char(pieceAfter.front());
}

// The text before the terminator; empty when there is none.
QStringView fieldUpTo(QStringView rest, QChar terminator)
{
    const qsizetype at = rest.indexOf(terminator);
    return at < 0 ? QStringView() : rest.left(at);
}

// Appends the field padded with "0" to the width; true when the padded text is a whole
// number (an empty field pads to zeros and is valid).
bool append(QString &record, QStringView field, int width)
{
    const qsizetype start = record.size();
    for (qsizetype i = field.size(); i < width; ++i)
        record += u'0';
    record += field;
    return IsInteger(QStringView(record).mid(start));
}

} // namespace

Result parse(const QStringList &logLines)
{
    using E = ExamLogEntry;
    static const Marker answered = markerIn(E::answeredStart, ']');
    static const Marker questionCount = markerIn(E::questionCountStart, 'n');
    static const Marker minutes = markerIn(E::minutesStart, 'i');
    static const Marker timeLimit = markerIn(E::timeLimitStart, 'm');
    static const Marker right = markerIn(E::rightStart, ':');
    static const Marker percentage = markerIn(E::percentageStart, '(');
    constexpr qsizetype numberAt = E::lineStart.size() + E::partCodeLength + E::numberStart.size();

    Result result;
    result.records.reserve(logLines.size() / 2);
    result.verdicts.reserve(logLines.size() / 2);
    QString record;
    for (qsizetype i = 0; i < logLines.size(); ++i) {
        const QStringView line = logLines.at(i);
        bool valid = true;
        if (i % 2 == 0) {
            // The exam number ends at a blank within the first 15 characters, or else at
            // the piece after it.
            const bool blankEarly = line.left(15).contains(u' ');
            const qsizetype end = line.indexOf(blankEarly ? QChar(u' ') : endOf(E::dateStart));
            const QStringView number =
                end < numberAt ? QStringView() : line.mid(numberAt, end - numberAt);
            record.clear();
            record.reserve(32);
            record += line.mid(E::lineStart.size(), E::partCodeLength);
            record += u' ';
            valid = append(record, number, 5);
            record += u' ';

            QStringView rest = line;
            cutAfter(rest, answered);
            valid = append(record, fieldUpTo(rest, endOf(E::questionCountStart)), 2) && valid;
            record += u' ';
            cutAfter(rest, questionCount);
            valid = append(record, fieldUpTo(rest, endOf(E::minutesStart)), 2) && valid;
            record += u' ';
            cutAfter(rest, minutes);
            valid = append(record, fieldUpTo(rest, endOf(E::timeLimitStart)), 5) && valid;
            record += u' ';
            cutAfter(rest, timeLimit);
            valid = append(record, fieldUpTo(rest, endOf(E::timeLimitEnd)), 2) && valid;
            record += u' ';
        } else {
            QStringView rest = line;
            cutAfter(rest, right);
            valid = append(record, fieldUpTo(rest, endOf(E::rightEnd)), 2);
            record += u' ';
            cutAfter(rest, percentage);
            valid = append(record, fieldUpTo(rest, endOf(E::wrongQuestionsStart)), 3) && valid;
            result.records.append(record);
            result.verdicts.append(verdict(line));
        }
        if (!valid) {
            result.failedLine = static_cast<int>(i + 1);
            break;
        }
    }
    return result;
}

Verdict verdict(QStringView secondLine)
{
    const qsizetype end = secondLine.indexOf(QLatin1String("</td>"));
    const QStringView cell = end < 0 ? secondLine : secondLine.left(end);
    if (cell.contains(ExamLogEntry::failedText))
        return Verdict::Failed;
    if (cell.contains(ExamLogEntry::passedText))
        return Verdict::Passed;
    return Verdict::Unknown;
}

bool ofPart(const QString &record, const QString &partCode)
{
    return QStringView(record).left(2) == partCode;
}

Figures figures(const QString &record)
{
    // The part code is taken as it stands and may hold a blank; the numbers never do.
    int numbers[7] = {};
    int index = 0;
    for (const QStringView field : QStringView(record).mid(3).tokenize(u' ')) {
        if (index == 7)
            break;
        numbers[index++] = field.toInt();
    }
    Figures f;
    f.partCode = record.left(2);
    f.questionCount = numbers[2];
    f.right = numbers[5];
    f.percentage = numbers[6];
    return f;
}

} // namespace LogRecords
