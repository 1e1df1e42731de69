#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The statistics' reading of the exam log: one fixed-layout record per entry,
/// "TA 00012 25 34 00012 60 25 073" (part code, exam number, answered, question count,
/// minutes, time limit, right answers, percentage; numbers padded with "0").
namespace LogRecords {

/// The verdict an entry's second line holds: the one given when the entry was written,
/// under the rules of that day.
enum class Verdict { Unknown, Passed, Failed };

/// The verdict of a second line: "nein" or "ok" in its first cell; Unknown when the
/// cell holds neither (a hand-edited log).
Verdict verdict(QStringView secondLine);

struct Result
{
    /// One record per complete entry read before the walk stopped.
    QStringList records;
    /// The verdict of each record's entry, at the same index.
    QList<Verdict> verdicts;
    /// The 1-based file line that failed, 0 when the whole log is valid.
    int failedLine = 0;
    bool valid() const { return failedLine == 0; }
};

/// Walks the log lines in pairs and stops at the first line whose figures are not whole
/// numbers. A failing second line still adds its record; a failing first line does not.
/// A last line without its partner adds nothing. The fields are found by the pieces of
/// ExamLogEntry, tolerantly: a line need not be an entry ExamLogEntry::parse accepts.
Result parse(const QStringList &logLines);

/// Whether the record is of the part code (its first two characters).
bool ofPart(const QString &record, const QString &partCode);

/// The figures a chart reads from a record.
struct Figures
{
    QString partCode;
    int questionCount = 0;
    int right = 0;
    int percentage = 0;
};

/// Reads a record by its blank-separated fields, so an exam number of six digits or more,
/// which widens its field, does not shift the figures. Fields that are missing read as 0.
Figures figures(const QString &record);

} // namespace LogRecords
