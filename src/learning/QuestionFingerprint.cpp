#include "learning/QuestionFingerprint.h"

#include <QCryptographicHash>

QString QuestionFingerprint::of(const QString &questionText, const QString &rightAnswer)
{
    // Simplified text holds no line break, so the separator cannot be mistaken for text.
    const QString asked = questionText.simplified() + u'\n' + rightAnswer.simplified();
    return QString::fromLatin1(
        QCryptographicHash::hash(asked.toUtf8(), QCryptographicHash::Sha1).toHex());
}
