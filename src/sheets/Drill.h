#pragma once

#include "components/Clock.h"

#include <QChar>
#include <QString>

class Catalogue;
class LearningStore;
class Settings;
class SheetGenerator;
class UserInterface;
struct Bogenzustand;

/// Makes the drill sheets ("Lernen"): the questions of a class or of one chapter that
/// are due, weakest or new, on a sheet without time limit that leaves no log entry.
///
/// The sheet generator asks the questions of one part, so a class drill takes the part of
/// the class with the most due questions (on a tie, or with none due, the first in the
/// class's order that has any due or new question, else the first).
class Drill
{
public:
    struct Uses
    {
        UserInterface &ui;
        Bogenzustand &bogen;
        Catalogue &catalogue;
        LearningStore &store;
        SheetGenerator &sheets;
        Settings &settings;
        Clock clock;
    };

    explicit Drill(Uses uses) : m_uses(std::move(uses)) {}

    /// Builds and shows the drill sheet of a class, or of one of its chapters when chapter
    /// (DrillLink::chapterName) is given. A missing or damaged archive, or a class or chapter the
    /// catalogue lacks, is reported; false then and nothing is made.
    bool make(QChar classLetter, const QString &chapter = QString());

    /// The page text of a drill sheet that found nothing due and nothing new.
    static QString nothingDueNote();

private:
    Uses m_uses;
};
