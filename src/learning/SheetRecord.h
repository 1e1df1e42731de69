#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

/// How a sheet came about; stored as its letter. The first three are the mode letters
/// of ExamPart, the drill has a letter of its own.
enum class SheetKind : char {
    Training = 't',
    Examination = 'k',
    OwnExamination = 'a',
    Drill = 'l',
};

/// The result of one question on an evaluated sheet; the numbers are stored.
enum class AnswerResult : int {
    Unanswered = 0,
    Right = 1,
    Wrong = 2,
};

/// One question of an evaluated sheet as the learning store records it.
struct AnswerRecord
{
    QString questionId;  ///< "TA101"
    QString fingerprint; ///< QuestionFingerprint::of the question as it was asked
    AnswerResult result = AnswerResult::Unanswered;
    int wrongChoice = 0; ///< the form's W1..W3 value of a wrong answer (1..3); 0 otherwise
};

/// One evaluated sheet: written whole or not at all.
struct SheetRecord
{
    QDateTime time; ///< when it was evaluated (local time of the injected clock)
    SheetKind kind = SheetKind::Training;
    QString partCode; ///< "TA", "BE", ...
    QList<AnswerRecord> answers;
    /// The part's pass probability estimated when the sheet was made (0..1); none for a
    /// sheet without an estimate (practice, own examinations, nothing learnt yet).
    std::optional<double> predicted;
};
