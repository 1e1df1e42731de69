#pragma once

#include "components/Clock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class DataPaths;
class ExamLog;
class PageWriter;
class UserInterface;

/// The log page LetztesLog.html, built from LogLines on every request, and the deletion
/// of the log.
class LogPage
{
public:
    LogPage(const DataPaths &paths, UserInterface &ui, PageWriter &writer, ExamLog &log,
            Clock clock)
        : m_paths(paths), m_ui(ui), m_writer(writer), m_log(log), m_clock(std::move(clock))
    {
    }

    /// Writes the page from LogLines and shows it. A page that cannot be written is
    /// reported and not shown; returns false then.
    bool LogSpeedButtonClick();

    /// Asks before deleting Vexa.log; on OK deletes it, empties LogLines, shows the empty
    /// log page and says so in panel Nachricht. Nothing happens without a log file. When
    /// the file cannot be deleted a warning names it, and LogLines keeps what the file
    /// still holds, so no later entry drops the old ones.
    void LogloeschenClick();

    /// The page's lines: one band of two rows per entry, green when passed and red when
    /// failed, stronger and lighter shades alternating.
    static QStringList pageLines(const DataPaths &paths, const QStringList &logLines,
                                 const QDateTime &when);

private:
    const DataPaths &m_paths;
    UserInterface &m_ui;
    PageWriter &m_writer;
    ExamLog &m_log;
    Clock m_clock;
};
