#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include "catalogue/CatalogueRules.h"
#include "components/ZipArchive.h"

class DataPaths;
class UserInterface;

/// Names of the archive's entries: a part's questions ("TAfragen.txt") and its
/// sections ("TAAbschnitte.txt"); the versions entry.
QString questionEntry(QChar partLetter, QChar classLetter);
QString sectionsEntry(const QString &partCode);
QString versionsEntry();
/// The questions entry of a part code: "TAfragen.txt".
QString questionsEntry(const QString &partCode);

/// A question record starts with a header line: "::" and the five-character ID.
bool isQuestionHeader(const QString &line);

/// An answer line of a record: "R:" (the right one) or "W:", in either case.
bool isAnswerLine(const QString &line);

/// Index (from 0) of the first line, the last line excepted, that begins with prefix;
/// with a non-empty countPrefix instead the number of lines up to and including it that
/// begin with countPrefix. -1 when no line matches.
int FindQuestionLine(const QStringList &lines, const QString &prefix, const QString &countPrefix);

/// ID (columns 3-7) of the n-th question header; empty when there are fewer questions.
QString QuestionIdAt(const QStringList &lines, int n);

/// First contiguous run of questions whose ID begins with idPrefix: its first and last
/// ordinal. Returns false (ordinals untouched) when no question matches.
bool FindIdRange(const QStringList &lines, const QString &idPrefix, int &first, int &last);

/// Number of question headers ("::") among the lines.
int CountQuestions(const QStringList &lines);

/// Catalogue operations that need the run's archive path and tell the user of failures.
class Catalogue
{
public:
    Catalogue(const DataPaths &paths, UserInterface &ui, QStringList &catalogueLines)
        : m_paths(paths), m_ui(ui), m_catalogueLines(catalogueLines), m_rules(paths)
    {
    }

    /// CatalogueLines: the entry loaded last, shared by everyone who reads questions.
    QStringList &lines() { return m_catalogueLines; }

    /// Reads one entry of the catalogue archive into target. A missing archive shows
    /// "Die Datei <path> existiert nicht." (or missingMessage when given), a damaged one
    /// "Die Datei <path> ist beschädigt und kann nicht gelesen werden."; both return
    /// false. A missing entry returns true and leaves target unchanged.
    [[nodiscard]] bool extract(const QString &entryName, QStringList &target,
                               const QString &missingMessage = QString());

    /// Clears CatalogueLines and loads the part's question entry into it. Returns false
    /// after the warning when the archive is missing or damaged; a missing entry gives
    /// true with count 0.
    [[nodiscard]] bool LoadPartCatalogue(QChar partLetter, QChar classLetter, int &count);

    /// The run's archive; empty when there is none.
    QString archivePath() const;

    /// The examination rules of the run's archive, read once per archive.
    CatalogueRules &rules() { return m_rules; }

    /// The rules a sheet follows: those the archive declares, or the built-in parts
    /// (rules without parts) when it has no entry. A missing or damaged archive, or an
    /// entry that breaks the format ("Die Prüfungsregeln in <path> sind fehlerhaft:
    /// Zeile …"), is reported on every request and returns false.
    [[nodiscard]] bool readRules(ExamRules &rules);

private:
    void warnMissing(const QString &missingMessage);
    void warnDamaged();

    const DataPaths &m_paths;
    UserInterface &m_ui;
    QStringList &m_catalogueLines;
    CatalogueRules m_rules;
};
