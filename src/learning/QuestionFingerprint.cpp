#include "learning/QuestionFingerprint.h"

#include "catalogue/Catalogue.h"

#include <QCryptographicHash>

QString QuestionFingerprint::of(const QString &questionText, const QString &rightAnswer)
{
    // Simplified text holds no line break, so the separator cannot be mistaken for text.
    const QString asked = questionText.simplified() + u'\n' + rightAnswer.simplified();
    return QString::fromLatin1(
        QCryptographicHash::hash(asked.toUtf8(), QCryptographicHash::Sha1).toHex());
}

void QuestionFingerprint::ofEntry(const QStringList &entryLines, QStringList &ids,
                                  QHash<QString, QString> &fingerprints)
{
    QString id;
    QString question;
    QString right;
    const auto finish = [&] {
        if (id.isEmpty())
            return;
        ids << id;
        fingerprints.insert(id, QuestionFingerprint::of(question, right));
    };
    for (const QString &line : entryLines) {
        if (isQuestionHeader(line)) {
            finish();
            id = line.mid(2, 5);
            question = QString();
            right = QString();
        } else if (!id.isEmpty() && question.isNull() &&
                   line.startsWith(QLatin1String("F:"), Qt::CaseInsensitive)) {
            question = line.mid(2);
        } else if (!id.isEmpty() && right.isNull() &&
                   line.startsWith(QLatin1String("R:"), Qt::CaseInsensitive)) {
            right = line.mid(2);
        }
    }
    finish();
}
