#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

/// One fault found in a catalogue source: entry (file) name, line from 1, German text.
struct CatalogueIssue
{
    QString entry;
    int line = 0;
    QString message;

    /// "<entry>:<line>: <message>", the form compilers use, so editors can jump to it.
    QString toString() const;
};

/// How many questions of a question entry have a right answer longer than every wrong one.
/// Where that share is well above chance (25 %), candidates learn to pick the longest answer.
struct AnswerLengthShare
{
    /// Highest share in percent the checker lets pass.
    static constexpr int kMaxPercent = 35;

    QString entry;
    int longestRight = 0;
    int questions = 0;

    bool tooHigh() const { return longestRight * 100 > kMaxPercent * questions; }
    /// German, "28,5 %": rounded to a tenth, but a share that is too high never reads as
    /// the limit itself.
    QString percentText() const;
    /// "<entry>: <percent> (<longestRight> von <questions>)"
    QString toString() const;
};

/// Checks the text sources of the catalogue archive before they are packed: the record
/// structure of the question entries, the pictures they name, the sections entries
/// against the question entries, that every character has a Windows-1252 byte, and that
/// the right answer does not give itself away by its length.
/// The program itself trusts the catalogue, so every fault must be caught here.
class CatalogueCheck
{
public:
    /// installDir: the folder holding pics/ (pictures are named "./pics/...").
    explicit CatalogueCheck(const QString &installDir);

    /// Reads every *fragen.txt, *Abschnitte.txt and FragenVersion.txt of the folder as
    /// UTF-8. A file that is not valid UTF-8 is reported and left out. Returns false
    /// when the folder cannot be listed.
    bool loadFolder(const QString &folder);

    /// Adds or replaces an entry.
    void setEntry(const QString &name, const QStringList &lines);

    /// Runs all checks over the entries; the issues found replace earlier ones.
    void run();

    QStringList entryNames() const { return m_entries.keys(); }
    QStringList entryLines(const QString &name) const { return m_entries.value(name); }

    /// The entry as it goes into the archive: Windows-1252, CR LF after every line.
    QByteArray entryBytes(const QString &name) const;

    const QList<CatalogueIssue> &issues() const { return m_issues; }

    /// One per question entry with complete questions, in entry-name order.
    const QList<AnswerLengthShare> &lengthShares() const { return m_lengthShares; }

    /// Whether a file name is one of the catalogue's source entries.
    static bool isSourceName(const QString &fileName);

private:
    void report(const QString &entry, int line, const QString &message);
    void checkEncoding(const QString &entry, const QStringList &lines);
    void checkQuestions(const QString &entry, const QStringList &lines);
    void checkSections(const QString &entry, const QStringList &lines);
    void checkImages(const QString &entry, int line, const QString &html);
    void checkPicture(const QString &entry, int line, const QString &reference);

    QString m_installDir;
    QMap<QString, QStringList> m_entries;
    QList<CatalogueIssue> m_loadIssues;
    QList<CatalogueIssue> m_issues;
    QList<AnswerLengthShare> m_lengthShares;
};
