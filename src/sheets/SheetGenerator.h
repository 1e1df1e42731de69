#pragma once

#include "components/Clock.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

class AnswerList;
class Catalogue;
class DataPaths;
class ExamTimer;
class LearningStore;
class PageWriter;
class RandomSource;
class SectionDistribution;
class Selection;
class Settings;
class StringList;
class UserInterface;
struct Bogenzustand;
struct ExamPart;
struct SelectionFlags;

/// Builds, saves and shows question sheets (LetztePruefung.html), and the row emitters
/// the question window shares.
class SheetGenerator
{
public:
    /// What a sheet is made of and from; all of it outlives the generator.
    struct Uses
    {
        UserInterface &ui;
        Bogenzustand &bogen;
        Catalogue &catalogue;
        Selection &selection;
        SectionDistribution &sections;
        AnswerList &answerList;
        ExamTimer &timer;
        PageWriter &writer;
        Settings &settings;
        const SelectionFlags &flags;
        const DataPaths &paths;
        StringList &selectedQuestions; ///< SelectedQuestions
        Clock clock;
        const LearningStore &learningStore; ///< what an examination's estimate is made from
        RandomSource &random;               ///< the estimate's draws
    };

    explicit SheetGenerator(Uses uses) : m_uses(std::move(uses)) {}

    /// Builds the sheet of a part and class of kind ("k", "t", "a", "l"; passed by reference as
    /// Bogenzustand's Bogenart) for a training section code (training only), stores the
    /// new exam number in examNumber, writes the answer list, shows the sheet and
    /// restarts the examination timer. An examination ("k") keeps the part's pass probability
    /// estimated from the learning store (ExamPrediction) and its oral mark in Bogenzustand;
    /// every other sheet clears them. A drill ("l") asks Bogenzustand::drillOrder of the
    /// part's catalogue entry loaded before, in that order, without time limit. A missing or
    /// damaged archive, or a part the archive lacks, stops after its warning with nothing written
    /// and no number taken. When the answer list or the sheet cannot be written, the warning names
    /// the file and neither page is kept; kind becomes "t" then.
    void FragebogenErstellen(QChar partLetter, QChar classLetter, QChar &kind,
                             const QString &sectionCode, QString &examNumber);

    static void BogenKopf(int questionCount, QChar classLetter, QChar partLetter,
                          const QString &title, const QString &timeLimit, const QString &version,
                          const QString &middle, const QString &examNumber,
                          const QString &styleSheet, const QDateTime &when, QStringList &lines);
    /// Head row of a question; the ID it returns names the question's form fields.
    QString FragenKopfZeile(const QString &id, const QString &colour, int j, QStringList &lines);
    static void FragentextZeile(const QString &text, const QString &colour, QStringList &lines);
    /// Picture and answer rows; pictureRoot stands for the "." of "./pics" references
    /// (DataPaths::pictureRoot).
    static void BildZeile(const QString &reference, const QString &colour,
                          const QString &pictureRoot, QStringList &lines);
    static void AntwortZeile(const QString &name, const QString &position, bool withRadio,
                             QStringList &lines, const QString &colour, QString answer,
                             const QString &pictureRoot);
    static void BogenFuss(QChar partLetter, const QString &examNumber, QStringList &lines);

    /// The sheet number after a counter value read from the settings file: the value
    /// plus 1, or 1 when the value is negative or cannot grow any further.
    static int nextSheetNumber(int counter);

private:
    /// Draws or collects the questions of the sheet into SelectedQuestions and settles
    /// part, title, count and time limit. False after a warning: no sheet is to be made.
    bool selectQuestions(QChar partLetter, QChar classLetter, QChar &kind,
                         const QString &sectionCode, ExamPart &part, QString &title);
    /// Loads the part's catalogue entry. An entry that is missing or holds no question
    /// is reported and ends the generation like a missing archive, before any number
    /// is taken; returns false then.
    bool loadExistingPart(QChar partLetter, QChar classLetter, QChar &kind, int &count);
    /// Appends one question block per selected question, in catalogue order, and
    /// collects the right answers' positions (ID + 4-digit position).
    void appendQuestions(const ExamPart &part, QStringList &lines, QStringList &rightAnswers);
    /// Appends the block of the question whose header is catalogue line i as the sheet's
    /// question j (from 0); i ends on the line after the question.
    void appendQuestion(const ExamPart &part, int &i, int j, QStringList &lines,
                        QStringList &rightAnswers);
    /// Writes answer list and sheet and shows the sheet; false when either failed.
    bool writeSheet(const ExamPart &part, const QString &title, const QString &sheetNumber,
                    const QStringList &lines, const QStringList &rightAnswers);
    /// The estimate of the examination sheet just made, drawn as its questions were.
    std::optional<double> predict(const ExamPart &part) const;
    /// Leaves the state of a generation that ends without a sheet.
    void abandon(QChar &kind);

    Uses m_uses;
};
