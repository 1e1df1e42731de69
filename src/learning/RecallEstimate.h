#pragma once

#include "learning/LearningHistory.h"

#include <QDateTime>
#include <QHash>
#include <QString>

/// How likely the candidate answers a question right in the examination, from the
/// question's own answers.
///
/// The model: an unseen question is a guess among four answers (0.25). For a seen one the
/// answers that count (those LearningState counts: since its fingerprint last changed and
/// since its last reset) are weighed, the last answer with 1, each older one with
/// recencyWeight times the weight of the next newer one. The share of right answers is
/// taken with priorAnswers answers at the guessing rate added, so one right answer does
/// not mean certainty. With time since the last answer that share decays toward guessing:
/// the distance to 0.25 shrinks by the factor exp(-days / stability), and the stability
/// (stabilityDays) doubles with every right answer in a row, up to maxStabilityDays.
///
/// Every number of the model is in Parameters; an estimate never fails and always lies
/// in [0, 1].
class RecallEstimate
{
public:
    struct Parameters
    {
        double guess = 0.25;         ///< an unseen question: one of four answers
        double recencyWeight = 0.7;  ///< weight of an answer relative to the next newer one
        double priorAnswers = 0.5;   ///< answers at the guessing rate added to every history
        double stabilityDays = 10.0; ///< decay time after a wrong last answer
        double maxStabilityDays = 365.0;
    };

    /// What the counting answers of one question say, in the form the model needs.
    struct Evidence
    {
        double right = 0; ///< weighted right answers
        double wrong = 0; ///< weighted wrong or unanswered ones
        int seen = 0;     ///< answers that count
        int rightInRow = 0;
        qint64 lastTime = 0; ///< seconds since the epoch of the last counting answer

        bool isSeen() const { return seen > 0; }
    };

    /// With the default parameters.
    RecallEstimate();
    explicit RecallEstimate(const Parameters &parameters) : m_parameters(parameters) {}

    const Parameters &parameters() const { return m_parameters; }

    /// The evidence per question of the current catalogue (question ID -> its current
    /// fingerprint), counting the answers LearningState::derive counts; a question
    /// without counting answers gets empty evidence. Never fails.
    QHash<QString, Evidence> gather(const QHash<QString, QString> &fingerprints,
                                    const LearningHistory &history) const;

    /// The evidence of one question's counting answers, oldest first (true: right),
    /// the last given at lastTime (seconds since the epoch).
    Evidence evidenceOf(const QList<bool> &answers, qint64 lastTime) const;

    /// The probability of a right answer at the time now (seconds since the epoch);
    /// now before the last answer counts as no time passed.
    double recall(const Evidence &evidence, qint64 now) const;

    /// recall for every question of evidence at now.
    QHash<QString, double> recalls(const QHash<QString, Evidence> &evidence, qint64 now) const;

    /// The recall of a question answered right QuestionState::kSureBox times in a row,
    /// just now: what a question learnt to "sicher" is worth.
    double sureRecall() const;

    /// The model in 3-5 plain German sentences for the help page; holds no character
    /// that HTML would read as markup.
    static QString helpText();
    static QString helpText(const Parameters &parameters);

private:
    Parameters m_parameters;
};
