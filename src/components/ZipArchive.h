#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

/// What an archive may unpack to in all: the official catalogue is about 10 MB.
inline constexpr qint64 kMaxUnpackedSize = 200 * 1024 * 1024;

/// Result of reading one entry of a ZIP archive.
enum class ExtractResult { Extracted, EntryMissing, Damaged };

/// Extracts the named entry of a ZIP archive into target (lines split at CR LF, CR or
/// LF, Windows-1252). The name is matched exactly first, then without regard to case.
/// A missing entry gives EntryMissing, a file that cannot be read, is no ZIP archive,
/// fails its checksum or names an entry of implausible size gives Damaged; in both
/// cases target is left unchanged. Never crashes or hangs on a broken file.
[[nodiscard]] ExtractResult Entzippen(const QString &archivePath, const QString &entryName,
                                      QStringList &target);

/// Unpacks the file entries of a ZIP archive whose names end in one of suffixes (any case;
/// every entry when suffixes is empty) into folder (which must exist), keeping the
/// entries' folders. An entry whose name would leave the folder (absolute, "..") refuses
/// the whole archive, and so do entries to unpack whose sizes add up to more than
/// maxTotal bytes: then nothing is written. Returns false with the reason in *error
/// (German) when the archive cannot be read or an entry cannot be written; what was
/// unpacked then stays in folder.
[[nodiscard]] bool unpackAll(const QString &archivePath, const QString &folder, QString *error,
                             const QStringList &suffixes = {}, qint64 maxTotal = kMaxUnpackedSize);

/// One entry of an archive as it is stored: name, bytes, time.
struct ZipEntry
{
    QString name;
    QByteArray bytes;
    QDateTime modified;
    /// A symbolic link as a Unix archiver stores it: bytes hold the link's target.
    bool symlink = false;
};

/// Reads every file entry of a ZIP archive into entries, in the archive's order. Returns
/// false with the reason in *error (German) when the archive or an entry cannot be read;
/// entries is left unchanged then.
[[nodiscard]] bool readEntries(const QString &archivePath, QList<ZipEntry> &entries,
                               QString *error);
