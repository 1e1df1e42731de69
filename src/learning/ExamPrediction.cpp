#include "learning/ExamPrediction.h"

#include "catalogue/Catalogue.h"
#include "learning/LearningStore.h"
#include "learning/PassProbability.h"
#include "learning/QuestionFingerprint.h"
#include "learning/RecallEstimate.h"

#include <algorithm>

std::optional<double> ExamPrediction::of(const LearningStore &store, const Part &part,
                                         RandomSource &random, qint64 now)
{
    if (!store.isOpen())
        return std::nullopt;
    LearningHistory history;
    QString error;
    // Not being able to read the store only costs the estimate; recording tells of it.
    if (!store.readHistory(history, &error))
        return std::nullopt;
    QStringList ids;
    QHash<QString, QString> fingerprints;
    QuestionFingerprint::ofEntry(part.entryLines, ids, fingerprints);

    const RecallEstimate estimate;
    const QHash<QString, RecallEstimate::Evidence> evidence =
        estimate.gather(fingerprints, history);
    if (std::none_of(evidence.cbegin(), evidence.cend(),
                     [](const RecallEstimate::Evidence &e) { return e.isSeen(); }))
        return std::nullopt;
    const QHash<QString, double> recalls = estimate.recalls(evidence, now);

    PassProbability::Part drawn;
    if (part.sectionLines.isEmpty()) {
        drawn = PassProbability::plain(part.code, part.questions, part.rightNeeded, part.oralFrom,
                                       ids, recalls, estimate.parameters().guess);
    } else if (!PassProbability::fromSections(part.code, part.rightNeeded, part.oralFrom,
                                              part.sectionLines, ids, recalls,
                                              estimate.parameters().guess, drawn, &error)) {
        return std::nullopt;
    }
    return PassProbability::simulate(drawn, random).pass;
}
