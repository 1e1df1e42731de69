#pragma once

#include <QString>
#include <QStringList>

class VexaCore;

/// The answer key of the last sheet, LetzteAntworten.html.
class AnswerList
{
public:
    explicit AnswerList(VexaCore &core) : m_core(core) {}

    /// Writes the page; for a training sheet (Bogenart "t") enables the command
    /// Antwortenliste. answerKey holds ID + 4-digit position per question.
    bool AntwortenlisteErstellen(int questionCount, QChar p, QChar c, const QString &middle,
                                 const QString &light, const QString &dark, const QString &title,
                                 const QString &timeLimit, const QString &examNumber,
                                 const QStringList &answerKey);

    QString path() const;

private:
    VexaCore &m_core;
};
