#pragma once

#include "learning/SheetRecord.h"

#include <QHash>
#include <QList>
#include <QString>

/// One recorded answer as read back from the learning store.
struct HistoryAnswer
{
    qint64 sheet = 0; ///< the sheet's number in the store; sheets recorded later have higher ones
    qint64 time = 0;  ///< when the sheet was evaluated, seconds since the epoch (UTC)
    SheetKind kind = SheetKind::Training;
    QString partCode;
    QString questionId;
    QString fingerprint;
    AnswerResult result = AnswerResult::Unanswered;
    int wrongChoice = 0; ///< 1..3 for a wrong answer whose choice is known, else 0
};

/// Everything the learning state is derived from.
struct LearningHistory
{
    /// Every recorded answer, by sheet time, then by sheet, then in the sheet's order.
    QList<HistoryAnswer> answers;
    /// The latest "Zurücksetzen" per question ID, seconds since the epoch (UTC): answers
    /// of sheets evaluated at or before it no longer count.
    QHash<QString, qint64> resets;
};
