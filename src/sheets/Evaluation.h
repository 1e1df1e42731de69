#pragma once

#include "components/Clock.h"

#include <QString>
#include <QStringList>

class DataPaths;
class ExamLog;
class ExamTimer;
class PageWriter;
class UserInterface;
struct Bogenzustand;
struct ExamPart;

/// Evaluates a submitted sheet and shows LetzteAuswertung.html; logs examinations.
class Evaluation
{
public:
    Evaluation(UserInterface &ui, Bogenzustand &bogen, ExamTimer &timer, ExamLog &examLog,
               PageWriter &writer, const DataPaths &paths, Clock clock)
        : m_ui(ui), m_bogen(bogen), m_timer(timer), m_examLog(examLog), m_writer(writer),
          m_paths(paths), m_clock(std::move(clock))
    {
    }

    /// part (its letters and mode letter: the sheet's kind), examNumber and sectionCode
    /// are those of the sheet generated last; results are the submitted "name=value"
    /// lines in page order. An examination gets a verdict by the part's pass mark and a
    /// log entry; a log or page that cannot be written has been reported.
    void BogenAuswerten(const ExamPart &part, const QString &examNumber, QString sectionCode,
                        const QStringList &results);

    /// Number of lines containing "=W" or "=R".
    static int BeantworteteZaehlen(const QStringList &results);

private:
    struct Result
    {
        int right = 0;
        QString wrongQuestions; ///< "ID " per wrongly answered question
    };

    void appendHead(QStringList &s, const ExamPart &part, const QString &title, int answered,
                    const QString &examNumber);
    Result appendResultRows(QStringList &s, const ExamPart &part, const QStringList &results);
    void appendVerdict(QStringList &s, const ExamPart &part, int right);
    void appendClosingRow(QStringList &s, const ExamPart &part);

    UserInterface &m_ui;
    Bogenzustand &m_bogen;
    ExamTimer &m_timer;
    ExamLog &m_examLog;
    PageWriter &m_writer;
    const DataPaths &m_paths;
    Clock m_clock;
};
