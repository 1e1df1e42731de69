#include "statistics/LogRecords.h"

#include "catalogue/TextUtilities.h"

namespace LogRecords {

namespace {

// Makes rest the text after the marker's position plus skip characters; when the marker
// is missing, from skip - 1 on (the marker counts as found at position 0).
void cutAfter(QStringView &rest, QChar marker, int skip)
{
    const qsizetype at = rest.indexOf(marker);
    const qsizetype from = at + skip;
    rest = from < rest.size() ? rest.mid(from) : QStringView();
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
    Result result;
    result.records.reserve(logLines.size() / 2);
    result.verdicts.reserve(logLines.size() / 2);
    QString record;
    for (qsizetype i = 0; i < logLines.size(); ++i) {
        const QStringView line = logLines.at(i);
        bool valid = true;
        if (i % 2 == 0) {
            // The exam number starts at character 8 ("<td>TA/") and ends at a blank
            // within the first 15 characters, or else at the "&" of "&nbsp;".
            const bool blankEarly = line.left(15).contains(u' ');
            const qsizetype end = line.indexOf(blankEarly ? u' ' : u'&');
            const QStringView number = end < 7 ? QStringView() : line.mid(7, end - 7);
            record.clear();
            record.reserve(32);
            record += line.mid(4, 2);
            record += u' ';
            valid = append(record, number, 5);
            record += u' ';

            QStringView rest = line;
            cutAfter(rest, u']', 8);
            valid = append(record, fieldUpTo(rest, u' '), 2) && valid;
            record += u' ';
            cutAfter(rest, u'n', 2);
            valid = append(record, fieldUpTo(rest, u' '), 2) && valid;
            record += u' ';
            cutAfter(rest, u'i', 3);
            valid = append(record, fieldUpTo(rest, u' '), 5) && valid;
            record += u' ';
            cutAfter(rest, u'm', 5);
            valid = append(record, fieldUpTo(rest, u')'), 2) && valid;
            record += u' ';
        } else {
            QStringView rest = line;
            cutAfter(rest, u':', 2);
            valid = append(record, fieldUpTo(rest, u' '), 2);
            record += u' ';
            cutAfter(rest, u'(', 1);
            valid = append(record, fieldUpTo(rest, u'%'), 3) && valid;
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
    if (cell.contains(QLatin1String("nein")))
        return Verdict::Failed;
    if (cell.contains(QLatin1String("ok")))
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
