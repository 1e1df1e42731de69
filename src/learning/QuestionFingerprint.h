#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

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

    /// The question IDs of a questions entry in catalogue order, appended to ids, each
    /// with the fingerprint of its question text and right answer into fingerprints.
    static void ofEntry(const QStringList &entryLines, QStringList &ids,
                        QHash<QString, QString> &fingerprints);
};
