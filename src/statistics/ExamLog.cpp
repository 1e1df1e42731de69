#include "statistics/ExamLog.h"

#include "catalogue/ExamPart.h"
#include "catalogue/PageParts.h"
#include "components/DataPaths.h"
#include "components/TextFile.h"
#include "components/UserInterface.h"
#include "statistics/ExamLogEntry.h"

#include <QFileInfo>

QStringList ExamLog::entryLines(const ExamPart &part, const QString &examNumber, int answered,
                                int questionCount, int minutes, const QString &timeLimit, int right,
                                const QString &wrongQuestions, const QString &ownName,
                                const QDateTime &when)
{
    ExamLogEntry entry;
    entry.partCode = part.code();
    entry.examNumber = examNumber;
    entry.setWhen(when);
    entry.answered = answered;
    entry.questionCount = questionCount;
    entry.minutes = minutes;
    entry.timeLimit = timeLimit;
    // The verdict judges the right answers only (the part's pass mark); the time limit
    // stays visible beside it in line 1.
    entry.passed = part.passed(right, questionCount);
    entry.right = right;
    entry.percentage = Percentage(right, questionCount);
    entry.wrongQuestions = wrongQuestions;
    // The name comes from a list file and the log page shows the lines as they are.
    entry.own = !ownName.isEmpty();
    entry.ownName = PageParts::text(ownName);
    return entry.lines();
}

bool ExamLog::LogEintragSchreiben(const ExamPart &part, const QString &examNumber, int answered,
                                  int questionCount, int minutes, const QString &timeLimit,
                                  int right, const QString &wrongQuestions, const QString &ownName)
{
    const QStringList lines = entryLines(part, examNumber, answered, questionCount, minutes,
                                         timeLimit, right, wrongQuestions, ownName, m_clock());
    // Both lines in one rewrite: a failure can never leave half an entry behind.
    const bool written = LogAnhaengen(lines);
    m_ownExamName.clear();
    return written;
}

void ExamLog::load()
{
    m_logLines.clear();
    m_unreadable = false;
    m_onDisk.reset();
    const QString path = m_paths.logFile();
    if (!QFileInfo::exists(path))
        return;
    if (TextFile::readLines(path, m_logLines)) {
        m_onDisk = m_logLines;
        return;
    }
    m_unreadable = true;
    m_ui.ShowWarning(QStringLiteral("Die Logdatei %1 kann nicht gelesen werden. Prüfungen "
                                    "werden in dieser Sitzung nicht eingetragen, damit ihr "
                                    "Inhalt erhalten bleibt.")
                         .arg(path));
}

void ExamLog::deleted()
{
    m_logLines.clear();
    m_onDisk.reset();
    m_unreadable = false;
}

void ExamLog::refresh()
{
    const QString path = m_paths.logFile();
    if (!QFileInfo::exists(path)) {
        if (m_onDisk)
            m_logLines.clear();
        m_onDisk.reset();
        m_unreadable = false;
        return;
    }
    QStringList now;
    if (!TextFile::readLines(path, now)) {
        m_unreadable = true;
        return;
    }
    m_unreadable = false;
    // Unchanged on disk: LogLines stays what this run made of it.
    if (m_onDisk && *m_onDisk == now)
        return;
    m_logLines = now;
    m_onDisk = std::move(now);
}

bool ExamLog::LogAnhaengen(const QStringList &lines)
{
    refresh();
    if (m_unreadable) {
        m_ui.ShowWarning(QStringLiteral("Der Eintrag wird nicht in die Logdatei %1 geschrieben: "
                                        "sie kann nicht gelesen werden.")
                             .arg(m_paths.logFile()));
        return false;
    }
    QStringList &log = m_logLines;
    const qsizetype before = log.size();
    log.append(lines);
    const QString path = m_paths.logFile();
    if (TextFile::writeLines(path, log)) {
        m_onDisk = log;
        return true;
    }
    log.erase(log.begin() + before, log.end());
    m_ui.ShowWarning(QStringLiteral("Der Eintrag konnte nicht in die Logdatei ") + path +
                     QStringLiteral(" geschrieben werden."));
    return false;
}
