#pragma once

#include "components/Clock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class DataPaths;
class PageWriter;
class UserInterface;

/// The statistics of a licence class: six charts (technical part of the class,
/// operating knowledge, regulations; the last 20 and the last 250 examinations each) and
/// the page statistik<c>.html, recomputed from LogLines on every request.
class Statistics
{
public:
    Statistics(const DataPaths &paths, UserInterface &ui, PageWriter &writer,
               const QStringList &logLines, Clock clock)
        : m_paths(paths), m_ui(ui), m_writer(writer), m_logLines(logLines),
          m_clock(std::move(clock))
    {
    }

    /// Fills records with one statistics record per entry of LogLines. At the first
    /// invalid line it says in the status bar and in a warning which line of the log
    /// is wrong, and returns false; the caller then discards the records.
    bool LogAuswerten(QStringList &records);

    /// Reads the log, writes the six charts and the page of the class and shows it,
    /// moving the progress bar along and back to 0. An invalid log stops before any
    /// file is written. A chart or page that cannot be written is reported naming the
    /// file; the statistics stop there, files of earlier runs stay whole, and the page
    /// shown before stays. Returns true when the page is shown.
    bool StatistikAnzeigen(QChar classLetter);

    /// Writes the page of the class and shows it; false (reported) when it cannot be
    /// written.
    bool StatistikSeiteErstellen(QChar classLetter);

    /// Draws one chart and writes it; false (reported) when the file cannot be written.
    bool DiagrammZeichnen(const QStringList &records, const QString &partCode, int limit);

    /// The lines of the statistics page of a class.
    static QStringList pageLines(const DataPaths &paths, QChar classLetter, const QDateTime &when);

private:
    const DataPaths &m_paths;
    UserInterface &m_ui;
    PageWriter &m_writer;
    const QStringList &m_logLines;
    Clock m_clock;
};
