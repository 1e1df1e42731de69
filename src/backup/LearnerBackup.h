#pragma once

#include "components/Clock.h"
#include "components/ZipArchive.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class DataPaths;
class UserInterface;

/// The learner's data of the data folder in one ZIP archive, and back: the settings file,
/// the exam log, the asked lists, the question lists and a snapshot of the learning store,
/// with an index of names, sizes and SHA-256 checksums. Generated pages and the imported
/// catalogue are left out: they are made again from these.
///
/// Restoring is all or nothing: the archive is checked whole first, the new files are
/// written into a folder of their own inside the data folder and then renamed into place;
/// the files they replace move into a dated folder beside them. Every failure is told
/// once, in German, and leaves the data folder as it was.
class LearnerBackup
{
public:
    /// A backup whose every entry was checked against its index.
    struct Content
    {
        QString archive;
        QString sourceDataDir; ///< the data folder the backup was taken from
        QDateTime created;
        QList<ZipEntry> files; ///< without the index
    };

    LearnerBackup(const DataPaths &paths, UserInterface &ui, Clock clock);

    /// Writes the backup to zipPath atomically. False after a warning; *report then
    /// untouched, else it names the archive and what it holds.
    [[nodiscard]] bool write(const QString &zipPath, QString *report);

    /// Reads and checks the backup at zipPath. False after a warning.
    [[nodiscard]] bool check(const QString &zipPath, Content &content);

    /// The question before replacing: what is replaced, and where it is kept.
    QString question(const Content &content) const;

    /// Replaces the learner's files by the content (the learning store must be closed).
    /// Paths of the settings file that pointed into the backup's data folder point into
    /// this one. False after a warning, with nothing changed; else *report says what was
    /// restored and where the replaced files are.
    [[nodiscard]] bool replace(const Content &content, QString *report);

    /// The name of the index entry.
    static QString indexName();

private:
    /// The learner's files now in the data folder, as names relative to it.
    QStringList currentFiles() const;
    /// Whether a relative name is one a backup may hold.
    bool knownName(const QString &name) const;
    QString relative(const QString &path) const;
    QByteArray repointedSettings(const QByteArray &bytes, const QString &sourceDataDir) const;
    bool snapshotStore(QByteArray &bytes, QString *error) const;
    void refuse(const QString &archive, const QString &reason) const;

    const DataPaths &m_paths;
    UserInterface &m_ui;
    Clock m_clock;
};
