#pragma once

#include <QString>

/// A stable mark of a question as it is asked, so that an answer recorded for one
/// edition of the catalogue is recognised as belonging to a changed question in the next.
class QuestionFingerprint
{
public:
    /// The SHA-1 (40 lower-case hex digits) of the question text and the right answer
    /// as UTF-8, each with its white space simplified (runs of blanks, tabs and line
    /// breaks count as one blank; none at the ends), so a re-wrapped text keeps its
    /// mark while any changed word, number or formula gives a new one. Never fails.
    static QString of(const QString &questionText, const QString &rightAnswer);
};
