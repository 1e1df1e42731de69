#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

class VexaCore;

/// Result of reading one entry of the catalogue archive.
enum class ExtractResult { Extracted, EntryMissing, Damaged };

/// Extracts the named entry of a ZIP archive into target (lines split at CR LF, CR or
/// LF, Windows-1252). Missing entry or damaged archive: target is left unchanged.
/// Never crashes or hangs on a broken file.
ExtractResult Entzippen(const QString &archivePath, const QString &entryName, QStringList &target);

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
    explicit Catalogue(VexaCore &core) : m_core(core) {}

    /// Reads one entry of the catalogue archive into target. A missing archive shows
    /// "Die Datei <path> existiert nicht." (or missingMessage when given), a damaged one
    /// "Die Datei <path> ist beschädigt und kann nicht gelesen werden."; both return
    /// false. A missing entry returns true and leaves target unchanged.
    bool extract(const QString &entryName, QStringList &target,
                 const QString &missingMessage = QString());

    /// Clears CatalogueLines and loads the part's question entry into it. Returns false
    /// after the warning when the archive is missing or damaged; a missing entry gives
    /// true with count 0.
    bool LoadPartCatalogue(QChar partLetter, QChar classLetter, int &count);

private:
    VexaCore &m_core;
};
