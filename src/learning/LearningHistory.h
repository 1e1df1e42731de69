#pragma once

#include "learning/SheetRecord.h"

#include <QHash>
#include <QList>
#include <QString>

#include <limits>
#include <optional>
#include <vector>

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

    /// Walks the answers that count, oldest first, for the questions of fingerprints (ID
    /// to the fingerprint of the catalogue in use). slotOf(id) gives a question's own
    /// record (T *) and is called once per question as asked, not per answer. Answers to
    /// questions the catalogue lacks are skipped, and so are those given at or before a
    /// question's reset. An answer to another version of the question (other
    /// fingerprint) calls restart(record) instead: the question starts again.
    /// count(record, answer, time) is called for every answer that counts.
    template <typename SlotOf, typename Restart, typename Count>
    void forEachCounted(const QHash<QString, QString> &fingerprints, SlotOf slotOf, Restart restart,
                        Count count) const
    {
        using Slot = decltype(slotOf(QString()));
        struct Asked
        {
            Slot slot = nullptr; ///< null: not in the catalogue
            bool current = false;
            qint64 reset = std::numeric_limits<qint64>::min();
        };
        std::vector<Asked> lookedUp(asked.size());
        for (qsizetype i = 0; i < asked.size(); ++i) {
            const AskedQuestion &question = asked.at(i);
            const auto fingerprint = fingerprints.constFind(question.questionId);
            if (fingerprint == fingerprints.cend())
                continue;
            lookedUp[i].slot = slotOf(question.questionId);
            lookedUp[i].current = *fingerprint == question.fingerprint;
            lookedUp[i].reset = resets.value(question.questionId, lookedUp[i].reset);
        }
        for (const HistoryAnswer &answer : answers) {
            const Asked &question = lookedUp[answer.asked];
            if (!question.slot)
                continue;
            const qint64 time = sheets.at(answer.sheet).time;
            if (time <= question.reset)
                continue;
            if (question.current)
                count(*question.slot, answer, time);
            else
                restart(*question.slot);
        }
    }
};
