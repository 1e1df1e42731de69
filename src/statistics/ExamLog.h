#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>

class VexaCore;

/// Writer of the exam log Vexa.log: two lines of HTML table cells per examination.
class ExamLog
{
public:
    explicit ExamLog(VexaCore &core) : m_core(core) {}

    /// Composes both lines of an entry with the current time and appends them in one
    /// atomic rewrite of the file; then clears EigenerPruefungsname. When the file
    /// cannot be written, LogLines and the file keep their whole entries, a warning
    /// names the file, and false is returned.
    bool LogEintragSchreiben(QChar p, QChar c, const QString &examNumber, int answered,
                             int questionCount, int minutes, const QString &timeLimit, int right,
                             const QString &wrongQuestions, const QString &ownName);

    /// Appends lines to LogLines and rewrites the whole file; on failure LogLines is
    /// restored and false returned (after the warning).
    bool LogAnhaengen(const QStringList &lines);

    /// The two lines of an entry, as written.
    static QStringList entryLines(QChar p, QChar c, const QString &examNumber, int answered,
                                  int questionCount, int minutes, const QString &timeLimit,
                                  int right, const QString &wrongQuestions, const QString &ownName,
                                  const QDateTime &when);

private:
    VexaCore &m_core;
};
