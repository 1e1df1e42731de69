#pragma once

#include "components/Clock.h"
#include "components/Settings.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class CatalogueRules;
struct ExamRules;

/// The logic of the settings group "Prüfung bei der Bundesnetzagentur": what the candidate
/// really holds (a licence, single parts passed) and the day of the real examination.
/// The window offers the parts of the run's catalogue; a part passed that only another
/// catalogue knows stays in the file.
class ExamStandingSettings
{
public:
    struct Part
    {
        QString code;
        QString title;
    };

    ExamStandingSettings(Settings &settings, CatalogueRules &rules, Clock clock)
        : m_settings(settings), m_rules(rules), m_clock(std::move(clock))
    {
    }

    /// The parts of the run's catalogue (partsOf its rules).
    QList<Part> parts();
    /// The parts the rules declare, in their order; for rules without parts the built-in
    /// parts TE, TA, BE and VE.
    static QList<Part> partsOf(const ExamRules &rules);

    Settings::ExamStanding stored() const { return m_settings.examStanding(); }
    QDate today() const;

    /// Why standing cannot be saved, in German; empty when it can. A part cannot have
    /// been passed after today, and an examination day before today has gone by.
    static QString check(const Settings::ExamStanding &standing, const QDate &today,
                         const QList<Part> &parts);

    /// Checks and writes standing in one write. Its passed parts replace those of
    /// shownCodes; the file keeps those of other codes. False with the check's message in
    /// *error when nothing was written; false with *error empty after a refused write
    /// (reported by the settings file).
    [[nodiscard]] bool save(const Settings::ExamStanding &standing, const QStringList &shownCodes,
                            QString *error);

private:
    Settings &m_settings;
    CatalogueRules &m_rules;
    Clock m_clock;
};
