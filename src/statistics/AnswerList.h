#pragma once

#include <QString>
#include <QStringList>

#include "components/Clock.h"

class DataPaths;
class PageWriter;
class UserInterface;
struct ExamPart;

/// The answer key of the last sheet, LetzteAntworten.html.
class AnswerList
{
public:
    AnswerList(const DataPaths &paths, PageWriter &writer, UserInterface &ui, Clock clock)
        : m_paths(paths), m_writer(writer), m_ui(ui), m_clock(std::move(clock))
    {
    }

    /// Writes the page of a sheet of part (its letters and colours) with the sheet's
    /// question count, title and time limit; for a training sheet (mode "t") enables
    /// the command Antwortenliste. answerKey holds ID + 4-digit position per question.
    /// A page that cannot be written is reported; returns false then, the old page and
    /// the command's state stay.
    [[nodiscard]] bool AntwortenlisteErstellen(const ExamPart &part, int questionCount,
                                               const QString &title, const QString &timeLimit,
                                               const QString &examNumber,
                                               const QStringList &answerKey);

    QString path() const;

private:
    const DataPaths &m_paths;
    PageWriter &m_writer;
    UserInterface &m_ui;
    Clock m_clock;
};
