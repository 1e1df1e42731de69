#pragma once

#include "catalogue/ExamRules.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

/// How far the candidate is with the examination of one licence class: for each part the
/// class needs (ExamRules::pageOrder), the last examination of that part in the log.
struct ClassReadiness
{
    struct Part
    {
        QString code;
        QString title;
        bool taken = false;
        /// The mark reached within the time limit.
        bool passed = false;
        /// The mark reached, but not within the time limit.
        bool late = false;
        QString examNumber; ///< of the last examination, when taken
        QString date;       ///< "dd.mm.yyyy" of the last examination, when taken
        int right = 0;
    };

    QChar letter;
    QList<Part> parts;

    /// Every part of the class passed in its last examination.
    bool ready() const;
    /// Titles of the parts still missing, in the order pages list them.
    QStringList missing() const;

    /// The readiness of a class the rules describe, from the exam log. Counted are the
    /// examinations drawn from the catalogue with the question count of the rules (own
    /// examinations carry a name in their second line, and examinations under other
    /// rules have another count); the verdict is the one the log holds, and, as the
    /// evaluation judges it, a pass whose minutes reached the time limit is none. Entries
    /// that cannot be read are passed over. A class the rules do not describe has no parts.
    static ClassReadiness of(const ExamRules &rules, QChar classLetter,
                             const QStringList &logLines);
};
