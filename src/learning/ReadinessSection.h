#pragma once

#include "components/Clock.h"

#include <QChar>
#include <QString>
#include <QStringList>

class Catalogue;
class DataPaths;
class LearningStore;
class Settings;

/// The sections of a class page below the readiness lines: the estimated pass
/// probability per part still needed and for the class, the way to the exam date, and
/// the 10 questions whose mastery would raise the estimate most, with a drill of them.
///
/// The estimate draws every part still needed kDefaultDraws times as the examination
/// sheet draws it (its sections entry, else a plain draw of the rules' count) with a
/// generator seeded with PassProbability::kEstimateSeed; parts the candidate holds ([Lernen]
/// Lizenz, BestandeneTeile) are listed as held and not drawn.
class ReadinessSection
{
public:
    struct Uses
    {
        const DataPaths &paths;
        Catalogue &catalogue;
        LearningStore &store;
        Settings &settings;
        Clock clock;
    };

    /// How many questions the list of the most valuable ones holds.
    static constexpr int kMostValuable = 10;

    explicit ReadinessSection(Uses uses) : m_uses(std::move(uses)) {}

    /// The sections' lines for the page of classLetter. Never fails: what cannot be read
    /// is said in a line.
    QStringList lines(QChar classLetter);

    /// "etwa 3 von 10 Prüfungen bestanden (34 %)" as page text; "weniger als 1 von 10"
    /// below 5 %.
    static QString estimateText(double probability);

    /// The sentence of the oral re-examination band for a class estimate, as page text:
    /// share of the examinations with exactly one part in its band (missing by at most
    /// missing answers) and all others passed.
    static QString oralText(double share, int missing);

private:
    Uses m_uses;
};
