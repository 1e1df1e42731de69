#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

class LearningStore;
class RandomSource;

/// The pass probability of a part's examination, estimated from the learning store when its
/// sheet is made, before the candidate answers it: the part drawn as the sheet is drawn,
/// PassProbability::kDefaultDraws times, each question right with its RecallEstimate.
class ExamPrediction
{
public:
    /// How the part's sheet is drawn.
    struct Part
    {
        QString code;
        int rightNeeded = 0;    ///< right answers that pass the sheet
        int oralFrom = 0;       ///< right answers that open the oral band; 0: none
        int questions = 0;      ///< the sheet's count, for a plain draw
        QStringList entryLines; ///< the part's questions entry, in catalogue order
        /// The part's sections entry when the sheet is drawn by sections; empty for a
        /// plain draw out of all the part's questions.
        QStringList sectionLines;
    };

    /// The estimate at now (seconds since the epoch). None, rather than a number that
    /// says nothing about the candidate, when the store is not open or cannot be read,
    /// when no question of the part has an answer that counts yet, and when the sections
    /// cannot be read; random is not touched then.
    static std::optional<double> of(const LearningStore &store, const Part &part,
                                    RandomSource &random, qint64 now);
};
