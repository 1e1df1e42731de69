#include "learning/LearningHistory.h"

void LearningHistory::append(const HistorySheet &sheet, const AskedQuestion &question,
                             AnswerResult result, int wrongChoice)
{
    if (sheets.isEmpty() || sheets.constLast().id != sheet.id)
        sheets << sheet;
    qsizetype index = 0;
    while (index < asked.size() && (asked.at(index).questionId != question.questionId ||
                                    asked.at(index).fingerprint != question.fingerprint))
        ++index;
    if (index == asked.size())
        asked << question;
    answers.append({int(sheets.size() - 1), int(index), result, wrongChoice});
}
