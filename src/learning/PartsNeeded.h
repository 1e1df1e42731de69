#pragma once

#include <QChar>
#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>

struct ExamRules;

/// The parts of a class's examination the candidate still has to take at the authority.
/// Mock examinations never count; what counts is what the candidate holds (settings
/// "Lernen": Lizenz and BestandeneTeile).
class PartsNeeded
{
public:
    /// What the candidate holds.
    struct Holding
    {
        QChar licence; ///< 'N' or 'E'; null for none
        /// Parts passed at the authority -> the day passed.
        QMap<QString, QDate> passedParts;
    };

    /// Months a part passed at the authority counts.
    static constexpr int kValidMonths = 24;

    /// The parts of a class's examination in the order pages list them: those of the
    /// rules (ExamRules::pageOrder), or for rules without parts (the built-in parts)
    /// class E "TE", "BE", "VE" and class A "TA", "BE", "VE". Empty for a class the
    /// rules do not describe (with the built-in parts: every class but E and A).
    static QStringList classParts(const ExamRules &rules, QChar classLetter);

    /// Whether a part passed on passedOn still counts on day: from that day on, until
    /// the day before the same date kValidMonths later. A day before passedOn (a date in
    /// the future) does not count.
    static bool stillValid(const QDate &passedOn, const QDate &day);

    /// The parts of classLetter still to be taken, in page order: every part of the
    /// class, less those of the class held (an upgrade from N to E needs TE only, from
    /// E to A TA only) and less the parts passed that are still valid on day. Give the
    /// day of the real examination as day when it is set, else today: a part that runs
    /// out before the examination must be taken again. Empty when nothing is left, and
    /// for a class the rules do not describe.
    static QStringList of(const ExamRules &rules, QChar classLetter, const Holding &holding,
                          const QDate &day);
};
