#include "catalogue/ExamPart.h"

#include "catalogue/ExamRules.h"

namespace {

const QString kTitleT = QStringLiteral("Teil&nbsp;1&nbsp;Technische Kenntnisse");
const QString kTitleB = QStringLiteral("Teil&nbsp;2&nbsp;Betriebliche Kenntnisse");
const QString kTitleV = QStringLiteral("Teil&nbsp;3&nbsp;Kenntnisse von Vorschriften");

void set(ExamPart &v, int count, const char *minutes, const QString &title, const char *dark,
         const char *middle, const char *light)
{
    v.questionCount = count;
    v.minutes = QString::fromLatin1(minutes);
    v.title = title;
    v.dark = QString::fromLatin1(dark);
    v.middle = QString::fromLatin1(middle);
    v.light = QString::fromLatin1(light);
}

} // namespace

void PartParameters(QChar classLetter, QChar partLetter, QChar modeLetter, ExamPart &part,
                    const ExamRules *rules)
{
    part.partLetter = partLetter;
    part.classLetter = classLetter;
    part.modeLetter = modeLetter;
    if (classLetter == u'A')
        set(part, 51, "90", kTitleT, "#e0e0ff", "#e7e7ff", "#f0f0ff");
    else if (classLetter == u'E')
        set(part, 34, "60", kTitleT, "#d0e7ff", "#e0f0ff", "#e7f7ff");

    if (partLetter == u'B')
        set(part, 34, "60", kTitleB, "#ffffb0", "#ffffc7", "#ffffe0");
    else if (partLetter == u'V')
        set(part, 34, "60", kTitleV, "#c0ffb0", "#d0ffc0", "#e0ffd7");

    if (const ExamRules::Part *declared = rules ? rules->part(part.code()) : nullptr) {
        if (partLetter == u'T' && classLetter == u'N')
            set(part, 0, "", kTitleT, "#c0f0e8", "#d7f7f0", "#e7fff8");
        part.questionCount = declared->questions;
        part.minutes = QString::number(declared->minutes);
        part.passMark = declared->passMark;
    }

    if (modeLetter == u't')
        part.minutes = QStringLiteral("9999");
}

ExamPart examPart(QChar classLetter, QChar partLetter, QChar modeLetter, const ExamRules *rules)
{
    ExamPart part;
    PartParameters(classLetter, partLetter, modeLetter, part, rules);
    return part;
}

QString PartDisplayName(const QString &partCode)
{
    if (partCode == QLatin1String("TA"))
        return QStringLiteral("Technische Kenntnisse Klasse A");
    if (partCode == QLatin1String("TE"))
        return QStringLiteral("Technische Kenntnisse Klasse E");
    if (partCode == QLatin1String("TN"))
        return QStringLiteral("Technische Kenntnisse Klasse N");
    if (partCode == QLatin1String("BE"))
        return QStringLiteral("Betriebliche Kenntnisse");
    if (partCode == QLatin1String("VE"))
        return QStringLiteral("Kenntnisse von Vorschriften");
    return QString();
}

bool ExamPart::passed(int right, int questions) const
{
    // An empty sheet proves nothing; it must not be congratulated.
    return questions > 0 && right * 100 >= passMark * questions;
}

int Percentage(int right, int questionCount)
{
    return questionCount > 0 ? right * 100 / questionCount : 0;
}
