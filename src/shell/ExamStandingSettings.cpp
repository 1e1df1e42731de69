#include "shell/ExamStandingSettings.h"

#include "catalogue/CatalogueRules.h"
#include "catalogue/ExamPart.h"
#include "catalogue/ExamRules.h"

namespace {

const QString kDayFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

QList<ExamStandingSettings::Part> ExamStandingSettings::parts()
{
    return partsOf(m_rules.current());
}

QList<ExamStandingSettings::Part> ExamStandingSettings::partsOf(const ExamRules &rules)
{
    QList<Part> parts;
    if (rules.parts.isEmpty()) {
        for (const char *code : {"TE", "TA", "BE", "VE"}) {
            const QString partCode = QLatin1String(code);
            parts.append({partCode, PartDisplayName(partCode)});
        }
        return parts;
    }
    for (const ExamRules::Part &part : rules.parts)
        parts.append({part.code, part.title});
    return parts;
}

QDate ExamStandingSettings::today() const
{
    return m_clock ? m_clock().date() : QDate::currentDate();
}

QString ExamStandingSettings::check(const Settings::ExamStanding &standing, const QDate &today,
                                    const QList<Part> &parts)
{
    for (auto it = standing.passedParts.cbegin(); it != standing.passedParts.cend(); ++it) {
        if (!it.value().isValid() || it.value() <= today)
            continue;
        QString title = it.key();
        for (const Part &part : parts)
            if (part.code == it.key())
                title = part.title;
        return QStringLiteral("Der Prüfungsteil „%1“ kann nicht am %2 bestanden sein: "
                              "Das Datum liegt nach dem heutigen Tag.")
            .arg(title, it.value().toString(kDayFormat));
    }
    if (standing.examDay.isValid() && standing.examDay < today)
        return QStringLiteral("Der Prüfungstermin %1 ist schon vorbei. Bitte geben Sie einen Tag "
                              "ab heute an oder nehmen Sie den Haken bei „Prüfungstermin“ weg.")
            .arg(standing.examDay.toString(kDayFormat));
    return QString();
}

bool ExamStandingSettings::save(const Settings::ExamStanding &standing,
                                const QStringList &shownCodes, QString *error)
{
    Settings::ExamStanding merged = standing;
    merged.passedParts = m_settings.bestandeneTeileMap();
    for (const QString &code : shownCodes) {
        merged.passedParts.remove(code);
        if (standing.passedParts.contains(code))
            merged.passedParts.insert(code, standing.passedParts.value(code));
    }
    // Only what the candidate can see and change is checked: a part kept for another
    // catalogue was checked when it was entered.
    Settings::ExamStanding shown = standing;
    for (auto it = shown.passedParts.begin(); it != shown.passedParts.end();)
        it = shownCodes.contains(it.key()) ? std::next(it) : shown.passedParts.erase(it);
    *error = check(shown, today(), parts());
    if (!error->isEmpty())
        return false;
    return m_settings.setExamStanding(merged);
}
