#pragma once

#include "learning/SheetRecord.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

/// One evaluated sheet as read back from the learning store.
struct HistorySheet
{
    qint64 id = 0;   ///< its number in the store; sheets recorded later have higher ones
    qint64 time = 0; ///< when it was evaluated, seconds since the epoch (UTC)
    SheetKind kind = SheetKind::Training;
    QString partCode;
};

/// A question as it was asked: each ID and fingerprint pair once.
struct AskedQuestion
{
    QString questionId;
    QString fingerprint;
};

/// One recorded answer; its sheet and question are indexes into the history's lists,
/// so 50,000 answers take no string of their own.
struct HistoryAnswer
{
    int sheet = 0; ///< index into LearningHistory::sheets
    int asked = 0; ///< index into LearningHistory::asked
    AnswerResult result = AnswerResult::Unanswered;
    int wrongChoice = 0; ///< 1..3 for a wrong answer whose choice is known, else 0
};

/// Everything the learning state is derived from.
struct LearningHistory
{
    /// Every recorded sheet, by time, then by id.
    QList<HistorySheet> sheets;
    QList<AskedQuestion> asked;
    /// Every recorded answer, in the order of its sheet, then in the sheet's order.
    QList<HistoryAnswer> answers;
    /// The latest "Zurücksetzen" per question ID, seconds since the epoch (UTC): answers
    /// of sheets evaluated at or before it no longer count.
    QHash<QString, qint64> resets;
    /// The pass probability predicted before a sheet was taken (SheetRecord::predicted), by
    /// sheet id; sheets without one are not in it.
    QHash<qint64, double> predictions;

    std::optional<double> predictionOf(const HistorySheet &sheet) const
    {
        const auto found = predictions.constFind(sheet.id);
        return found == predictions.cend() ? std::nullopt : std::optional<double>(*found);
    }

    const HistorySheet &sheetOf(const HistoryAnswer &answer) const
    {
        return sheets.at(answer.sheet);
    }
    const AskedQuestion &questionOf(const HistoryAnswer &answer) const
    {
        return asked.at(answer.asked);
    }

    /// Adds an answer, with its sheet and question when they are new (for building a
    /// history in tests and tools; the store reads one in bulk).
    void append(const HistorySheet &sheet, const AskedQuestion &question, AnswerResult result,
                int wrongChoice = 0);
};
