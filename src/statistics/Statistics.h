#pragma once

#include "components/Clock.h"
#include "statistics/Chart.h"
#include "statistics/LogRecords.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class CatalogueRules;
class DataPaths;
class ExamLog;
struct ExamRules;
class PageWriter;
class UserInterface;

/// The statistics of a licence class: six charts (technical part of the class,
/// operating knowledge, regulations; the last 20 and the last 250 examinations each) and
/// the page statistik<c>.html, recomputed from LogLines on every request. When the
/// archive's rules describe the class, there are two charts for every part the class
/// needs, judged by the part's pass mark.
class Statistics
{
public:
    /// One block of the page: a part's two charts.
    struct ChartPart
    {
        QString code;
        QString heading;
        QString colour; ///< of the heading cell
        Chart::PassMark mark;
    };

    /// The blocks of a class: under rules that describe it the class's technical parts
    /// (its own first), then the others it needs; else the technical part of the class,
    /// operating knowledge and regulations.
    static QList<ChartPart> chartParts(QChar classLetter, const ExamRules *rules);

    Statistics(const DataPaths &paths, UserInterface &ui, PageWriter &writer, ExamLog &log,
               CatalogueRules &rules, Clock clock)
        : m_paths(paths), m_ui(ui), m_writer(writer), m_log(log), m_rules(rules),
          m_clock(std::move(clock))
    {
    }

    /// Fills records with one statistics record per entry of LogLines (and verdicts, when
    /// given, with the verdict of each). At the first invalid line it says in the status
    /// bar and in a warning which line of the log is wrong, and returns false; the caller
    /// then discards the records.
    bool LogAuswerten(QStringList &records, QList<LogRecords::Verdict> *verdicts = nullptr);

    /// Reads the log, writes the six charts and the page of the class and shows it,
    /// moving the progress bar along and back to 0. An invalid log stops before any
    /// file is written, and so does a class only an archive's rules know (class N) while
    /// the archive does not describe it: a warning says so. A chart or page that cannot
    /// be written is reported naming the file; the statistics stop there, files of
    /// earlier runs stay whole, and the page shown before stays. Returns true when the
    /// page is shown.
    bool StatistikAnzeigen(QChar classLetter);

    /// Writes the page of the class and shows it; false (reported) when it cannot be
    /// written.
    bool StatistikSeiteErstellen(QChar classLetter);

    /// Draws one chart and writes it; false (reported) when the file cannot be written.
    bool DiagrammZeichnen(const QStringList &records, const QString &partCode, int limit,
                          const Chart::PassMark &mark = {},
                          const QList<LogRecords::Verdict> &verdicts = {});

    /// The lines of the statistics page of a class, with its blocks.
    static QStringList pageLines(const DataPaths &paths, QChar classLetter, const QDateTime &when,
                                 const QList<ChartPart> &parts);
    /// The page of a class without rules.
    static QStringList pageLines(const DataPaths &paths, QChar classLetter, const QDateTime &when);

private:
    const DataPaths &m_paths;
    UserInterface &m_ui;
    PageWriter &m_writer;
    ExamLog &m_log;
    CatalogueRules &m_rules;
    Clock m_clock;
};
