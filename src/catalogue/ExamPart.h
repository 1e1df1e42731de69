#pragma once

#include <QChar>
#include <QString>

struct ExamRules;

/// One examination part as a sheet of it is made, evaluated, listed, logged and timed:
/// its letters, titles, colours, question count, time limit and pass mark.
struct ExamPart
{
    QChar partLetter;  ///< T, B or V
    QChar classLetter; ///< A or E; N only under rules that know the class N part
    QChar modeLetter;  ///< k examination, a own examination, t training
    int questionCount = 0;
    QString minutes; ///< time limit text: "90", "60", an own limit, "9999" for training
    QString title;
    QString dark;
    QString middle;
    QString light;
    int passMark = 73; ///< percent of the questions that must be right

    /// Part letter + class letter, the name of its catalogue entry and counter ("TA").
    QString code() const { return QString(partLetter) + classLetter; }
    /// right × 100 is at least passMark × questionCount; an empty sheet never passes.
    bool passed(int right, int questions) const;
};

/// Sets the letters of part and applies the rules by class letter (A, E), part letter
/// (B, V) and mode letter (t), in that order; a value no rule sets stays as it was
/// (an own examination keeps its count and time limit, an unknown class letter its
/// empty time limit).
///
/// With the examination rules of an archive (rules not null) a part the rules describe
/// then takes their question count, minutes and pass mark before the mode letter is
/// applied; the class N technical part gets the title of part 1 and colours of its own.
/// A part the rules do not describe keeps the built-in values.
void PartParameters(QChar classLetter, QChar partLetter, QChar modeLetter, ExamPart &part,
                    const ExamRules *rules = nullptr);

/// The part of those letters, from default values.
ExamPart examPart(QChar classLetter, QChar partLetter, QChar modeLetter,
                  const ExamRules *rules = nullptr);

/// Display name of a part code for the exam editor ("Technische Kenntnisse Klasse A" ...,
/// "Technische Kenntnisse Klasse N"), empty for an unknown code.
QString PartDisplayName(const QString &partCode);

/// Whole part of right × 100 ÷ question count; 0 when there are no questions.
int Percentage(int right, int questionCount);
