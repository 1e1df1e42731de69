#pragma once

#include "learning/LearningHistory.h"

#include <QChar>
#include <QStringList>

class LearningStore;
struct ExamRules;

/// The class page's check of the estimate against the candidate's own results: the last
/// examinations of the class's parts with the pass probability estimated before each was
/// taken next to its result, and one calibration line (Calibration) over all of them that
/// had an estimate, with a sentence on how to read it.
///
/// An examination's result is read from its recorded answers: right answers of the
/// questions asked, passed by the pass mark of its part (the time limit is not recorded).
class CalibrationSection
{
public:
    /// Examinations listed, newest first.
    static constexpr int kListed = 10;
    /// Examinations with an estimate the calibration line needs.
    static constexpr int kFewest = 3;

    /// The section's page lines for a class (parts as PartsNeeded::classParts gives them).
    static QStringList lines(const LearningHistory &history, const ExamRules &rules,
                             QChar classLetter);

    /// The same from the store's history; when it is not open or cannot be read, a line
    /// that says so.
    static QStringList lines(const LearningStore &store, const ExamRules &rules, QChar classLetter);
};
