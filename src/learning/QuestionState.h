#pragma once

#include <QDate>
#include <QDateTime>

/// What the recorded answers say about one question (see LearningState::derive).
struct QuestionState
{
    /// Box from which a question is "sicher".
    static constexpr int kSureBox = 3;

    int box = 0;        ///< Leitner box 0..5
    int seen = 0;       ///< answers that count
    int wrong = 0;      ///< of them wrong or unanswered
    int rightInRow = 0; ///< right answers since the last wrong one
    QDateTime lastSeen; ///< when the last counting answer was given; invalid when unseen
    QDate nextDue;      ///< the day it is due again; invalid when unseen

    bool isSeen() const { return seen > 0; }
    /// "sicher": box 3 or higher.
    bool isSure() const { return box >= kSureBox; }
    /// Seen, and its day has come: nextDue is today or earlier. An unseen question is
    /// never due (it is new); a question answered wrong is due again the same day.
    bool isDue(const QDate &today) const { return isSeen() && nextDue <= today; }
};
