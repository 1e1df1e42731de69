#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

#include "components/Clock.h"

class DataPaths;
class UserInterface;
struct ExamPart;

/// Writer of the exam log Vexa.log: two lines of HTML table cells per examination.
class ExamLog
{
public:
    /// logLines: LogLines, the log as read at start and appended since. ownExamName:
    /// EigenerPruefungsname of the current sheet, cleared by every entry written.
    ExamLog(const DataPaths &paths, UserInterface &ui, QStringList &logLines, QString &ownExamName,
            Clock clock)
        : m_paths(paths), m_ui(ui), m_logLines(logLines), m_ownExamName(ownExamName),
          m_clock(std::move(clock))
    {
    }

    /// Composes both lines of an entry of a sheet of part with the current time and
    /// appends them in one atomic rewrite of the file; then clears EigenerPruefungsname.
    /// The verdict follows the part's pass mark. When the file cannot be written,
    /// LogLines and the file keep their whole entries, a warning names the file, and
    /// false is returned.
    [[nodiscard]] bool LogEintragSchreiben(const ExamPart &part, const QString &examNumber,
                                           int answered, int questionCount, int minutes,
                                           const QString &timeLimit, int right,
                                           const QString &wrongQuestions, const QString &ownName);

    /// Appends lines to LogLines and rewrites the whole file; on failure LogLines is
    /// restored and false returned (after the warning). A log that changed on disk is
    /// re-read first; one that exists but cannot be read is never rewritten: LogLines
    /// would lack its entries.
    [[nodiscard]] bool LogAnhaengen(const QStringList &lines);

    /// Start-up: reads Vexa.log into LogLines. A missing file is an empty log. A file that
    /// exists but cannot be read is reported, LogLines stays empty and appends are refused
    /// until it can be read, so its entries are not overwritten.
    void load();

    /// Re-reads Vexa.log into LogLines when the file no longer holds what was last read or
    /// written: the user may repair or delete it while the program runs. A file deleted
    /// outside empties the log; one that cannot be read leaves LogLines as it is and
    /// refuses appends until it can be read again.
    void refresh();

    /// After Vexa.log was deleted: an empty log, to which entries may be written again.
    void deleted();

    /// LogLines after refresh(), for the pages built from the log.
    const QStringList &lines()
    {
        refresh();
        return m_logLines;
    }

    /// The two lines of an entry, as written. Line breaks inside the texts become blanks;
    /// the own examination's name is HTML-escaped, so the log page shows it as text.
    static QStringList entryLines(const ExamPart &part, const QString &examNumber, int answered,
                                  int questionCount, int minutes, const QString &timeLimit,
                                  int right, const QString &wrongQuestions, const QString &ownName,
                                  const QDateTime &when);

private:
    const DataPaths &m_paths;
    UserInterface &m_ui;
    QStringList &m_logLines;
    QString &m_ownExamName;
    Clock m_clock;
    bool m_unreadable = false;
    /// What the file held when it was last read or written; nothing while there was none.
    std::optional<QStringList> m_onDisk;
};
