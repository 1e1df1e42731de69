#pragma once

#include "components/Clock.h"
#include "learning/ProgressPage.h"

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
    /// (DrillLink::chapterName) is given, or of chosen questions (DrillLink::listName),
    /// each of which must be a question of the class. A missing or damaged archive, or a class or
    /// chapter the catalogue lacks, is reported; false then and nothing is made.
    bool make(QChar classLetter, const QString &chapter = QString());

    /// The page text of a drill sheet that found nothing due and nothing new.
    static QString nothingDueNote();
    /// The page text of a drill of chosen questions that span several parts: it asks
    /// those of partCode; link drills the others.
    static QString restNote(const QString &partCode, qsizetype others, const QString &link);

private:
    bool chooseListed(const ProgressPage::ExamClass &examClass,
                      const ProgressPage::Contents &contents, const QStringList &ids,
                      QString &partCode, QStringList &listed, QString &rest);

    Uses m_uses;
};
