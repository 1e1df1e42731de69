#pragma once

#include "learning/QuestionState.h"

#include <QDate>
#include <QHash>
#include <QStringList>

/// The questions of one drill sheet and how they were found.
struct DrillChoice
{
    QStringList questionIds; ///< in the order chosen
    int dueChosen = 0;       ///< the first dueChosen IDs are due
    int weakChosen = 0;      ///< then weakChosen seen ones that are not due
    int unseenChosen = 0;    ///< then unseenChosen unseen ones
    /// False when the whole scope held no due and no unseen question, so the sheet has
    /// only the weakest questions ("nothing due, here are the weakest anyway").
    bool anythingDueOrUnseen = false;
};

/// Chooses the questions of a drill sheet.
class DrillSelection
{
public:
    static constexpr int kMinQuestions = 5;
    static constexpr int kMaxQuestions = 50;

    /// Up to count questions (bounded to kMinQuestions..kMaxQuestions; fewer when the
    /// scope holds fewer) from scope, the question IDs of a class's parts or of one
    /// chapter in catalogue order; an ID given twice counts once, an ID without a
    /// state is unseen. The order:
    /// 1. due questions (QuestionState::isDue: seen and next due today or earlier),
    ///    longest overdue first (earliest next due), ties in catalogue order;
    /// 2. the weakest seen ones that are not due: most times wrong first, then fewest
    ///    right in a row, then in catalogue order;
    /// 3. unseen ones in catalogue order.
    /// Pure (no clock, no random source); never fails.
    static DrillChoice choose(const QStringList &scope, const QHash<QString, QuestionState> &states,
                              const QDate &today, int count);
};
