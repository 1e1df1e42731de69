#pragma once

#include "learning/PassProbability.h"
#include "learning/RecallEstimate.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// The way to the exam date: days left, questions to learn per day, the estimate at the
/// exam date, and the questions whose mastery would raise the class estimate most.
class StudyPlan
{
public:
    /// Days left to learn: from today up to the day before the examination, so today
    /// counts and the exam day does not (an examination tomorrow leaves 1). 0 when the
    /// examination is today or past, and for an invalid day.
    static int daysLeft(const QDate &today, const QDate &examDay);

    /// Questions of ids not yet "sicher" (unseen, or fewer than QuestionState::kSureBox
    /// right answers in a row); a question without evidence counts as unseen.
    static int notSureCount(const QHash<QString, RecallEstimate::Evidence> &evidence,
                            const QStringList &ids);

    /// notSure spread over daysLeft, rounded up; 0 when nothing is left. With no day
    /// left (the examination is today) every question not yet sure is due at once.
    static int questionsPerDay(int daysLeft, int notSure);

    /// The recall of every question of evidence at the examination, if the candidate keeps
    /// the pace of questionsPerDay and reviews every question when it is due. Assumed:
    /// each question not yet sure is learnt to "sicher" (kSureBox right answers in a row)
    /// on one of the days left, evenly spread, and reviewed from then on, so its last
    /// answer lies half its box's interval before the examination, or (daysLeft + 1) / 2
    /// days when that is less. A sure question keeps its own evidence; when it falls due
    /// before the examination, its last answer lies half its box's interval before it
    /// (the review is not counted as a further right answer). now and examTime in seconds
    /// since the epoch.
    static QHash<QString, double>
    projectedRecalls(const QHash<QString, RecallEstimate::Evidence> &evidence,
                     const RecallEstimate &estimate, qint64 now, qint64 examTime, int daysLeft);

    /// Up to count question IDs of the needed parts (parts[i] drawn to results[i]),
    /// ranked by how much the class pass probability would rise if the question's recall
    /// became sureRecall, highest first; ties by ID. The gain is approximated as
    ///   (sureRecall - recall) × P(question drawn) × P(part score = rightNeeded - 1)
    ///   × product of the other parts' pass probabilities,
    /// P(drawn) being its section's expected count over the section's size, the score
    /// share read from the part's simulated distribution. Where that gain is 0 (a part far
    /// from its pass mark, another part that cannot pass yet), (sureRecall - recall) ×
    /// P(drawn) decides. Questions at or above sureRecall are left out; mismatched lists
    /// give none.
    static QStringList mostValuable(const QList<PassProbability::Part> &parts,
                                    const QList<PassProbability::PartResult> &results,
                                    double sureRecall, int count = 10);
};
