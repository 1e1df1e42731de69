#pragma once

#include <QChar>
#include <QString>

/// Constants of the examination parts: question count, time limit, title and colours.
struct PartValues
{
    int questionCount = 0;
    QString minutes;
    QString title;
    QString dark;
    QString middle;
    QString light;
};

/// Applies the rules by class letter (A, E), part letter (B, V) and mode letter (t)
/// in that order to the caller's values; a value no rule sets stays as it was.
void PartParameters(QChar classLetter, QChar partLetter, QChar modeLetter, PartValues &values);

/// Display name of a part code for the exam editor ("Technische Kenntnisse Klasse A" ...),
/// empty for an unknown code.
QString PartDisplayName(const QString &partCode);

/// Pass mark: right × 100 at least 73 × question count.
bool PassMarkReached(int right, int questionCount);

/// Whole part of right × 100 ÷ question count; 0 when there are no questions.
int Percentage(int right, int questionCount);
