#include "statistics/LogRecords.h"

#include "catalogue/TextUtilities.h"

namespace LogRecords {

namespace {

// Makes rest the text after the marker's position plus skip characters; when the marker
// is missing, from skip - 1 on (the marker counts as found at position 0).
void cutAfter(QString &rest, QChar marker, int skip)
{
    const qsizetype at = rest.indexOf(marker);
    rest = rest.mid(at + skip);
}

// The text before the terminator; empty when there is none.
QString fieldUpTo(const QString &rest, QChar terminator)
{
    const qsizetype at = rest.indexOf(terminator);
    return at < 0 ? QString() : rest.left(at);
}

// Empty fields pad to zeros and are valid.
bool append(QString &record, const QString &field, int width, bool blankAfter)
{
    const QString padded = PadLeftZeros(field, width);
    record += padded;
    if (blankAfter)
        record += u' ';
    return IsInteger(padded);
}

} // namespace

Result parse(const QStringList &logLines)
{
    Result result;
    QString record;
    for (qsizetype i = 0; i < logLines.size(); ++i) {
        const QString &line = logLines.at(i);
        bool valid = true;
        if (i % 2 == 0) {
            // The exam number starts at character 8 ("<td>TA/") and ends at a blank
            // within the first 15 characters, or else at the "&" of "&nbsp;".
            const bool blankEarly = line.left(15).contains(u' ');
            const qsizetype end = line.indexOf(blankEarly ? u' ' : u'&');
            const QString number = end < 7 ? QString() : line.mid(7, end - 7);
            record = line.mid(4, 2) + u' ';
            valid = append(record, number, 5, true);

            QString rest = line;
            cutAfter(rest, u']', 8);
            valid = append(record, fieldUpTo(rest, u' '), 2, true) && valid;
            cutAfter(rest, u'n', 2);
            valid = append(record, fieldUpTo(rest, u' '), 2, true) && valid;
            cutAfter(rest, u'i', 3);
            valid = append(record, fieldUpTo(rest, u' '), 5, true) && valid;
            cutAfter(rest, u'm', 5);
            valid = append(record, fieldUpTo(rest, u')'), 2, true) && valid;
        } else {
            QString rest = line;
            cutAfter(rest, u':', 2);
            valid = append(record, fieldUpTo(rest, u' '), 2, true);
            cutAfter(rest, u'(', 1);
            valid = append(record, fieldUpTo(rest, u'%'), 3, false) && valid;
            result.records.append(record);
        }
        if (!valid) {
            result.failedLine = static_cast<int>(i + 1);
            break;
        }
    }
    return result;
}

Figures figures(const QString &record)
{
    // The part code is taken as it stands and may hold a blank; the numbers never do.
    const QStringList numbers = record.mid(3).split(u' ');
    const auto number = [&numbers](int index) {
        return index < numbers.size() ? numbers.at(index).toInt() : 0;
    };
    Figures f;
    f.partCode = record.left(2);
    f.questionCount = number(2);
    f.right = number(5);
    f.percentage = number(6);
    return f;
}

} // namespace LogRecords
