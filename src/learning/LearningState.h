#pragma once

#include "learning/LearningHistory.h"
#include "learning/QuestionState.h"

#include <QHash>
#include <QString>

/// The learning rules: how the recorded history turns into a state per question.
///
/// Leitner boxes 0..5: a right answer moves the question up one box (at most 5), a
/// wrong or unanswered one puts it back into box 0. An unanswered question counts as
/// wrong in every respect (box, times wrong, right in a row). The next due day is the
/// day of the last answer plus the box's interval (kIntervalDays).
class LearningState
{
public:
    static constexpr int kTopBox = 5;
    static constexpr int kSureBox = QuestionState::kSureBox;
    /// Days from the last answer until a question of the box is due again.
    static constexpr int kIntervalDays[kTopBox + 1] = {0, 1, 3, 7, 21, 60};

    /// The rule line shown with the legend on every page that shows boxes.
    static QString ruleLine();

    /// One state per question of the current catalogue (question ID -> its current
    /// fingerprint), derived from the history in its order; a question without
    /// counting answers gets the unseen state.
    ///
    /// - Answers of questions the catalogue does not hold are ignored (they stay stored).
    /// - Answers of a sheet evaluated at or before the question's latest reset mark do
    ///   not count.
    /// - An answer recorded with another fingerprint than the current one means the
    ///   question was changed: the question starts again there, so only answers with
    ///   the current fingerprint after the last answer with another one count.
    ///
    /// Pure: the state does not depend on today (whether a question is due does, see
    /// QuestionState::isDue). Never fails.
    static QHash<QString, QuestionState> derive(const QHash<QString, QString> &fingerprints,
                                                const LearningHistory &history);

    /// Brings states derived from the history's first `from` answers up to all of them,
    /// as derive would: the answers after them must belong to sheets recorded after the
    /// others, and the reset marks must be the same as then.
    static void advance(QHash<QString, QuestionState> &states,
                        const QHash<QString, QString> &fingerprints, const LearningHistory &history,
                        qsizetype from);
};
