#pragma once

#include "catalogue/ExamRules.h"

#include <QDateTime>
#include <QString>

class DataPaths;

/// The examination rules of the run's archive (ExamRules::entryName()), read once per
/// archive: again only when the archive's path, size or time of change differs from the
/// last reading, or after forget(). Rules without parts stand for the built-in parts of
/// the program, which an archive follows when it declares none or cannot be read.
class CatalogueRules
{
public:
    enum class Outcome {
        Read,      ///< the archive declares rules, or it has no entry (the built-in parts)
        NoArchive, ///< no path, or no file there
        Damaged,   ///< the archive cannot be read
        Malformed  ///< the entry breaks the format; error names the line
    };
    struct Reading
    {
        Outcome outcome = Outcome::NoArchive;
        ExamRules rules; ///< without parts unless the archive declares valid rules
        QString error;
    };

    explicit CatalogueRules(const DataPaths &paths) : m_paths(paths) {}

    /// The reading of the archive at archivePath; valid until the next request.
    const Reading &reading(const QString &archivePath);

    /// The rules of the archive at archivePath, or the built-in parts.
    const ExamRules &of(const QString &archivePath) { return reading(archivePath).rules; }

    /// The rules of the run's archive, or the built-in parts.
    const ExamRules &current();

    /// The archive changed under the same name (an import): the next request reads it.
    void forget() { m_read = false; }

private:
    /// What tells an archive from its successor without reading it.
    struct Stamp
    {
        QString path;
        bool isFile = false;
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        bool operator==(const Stamp &) const = default;
    };

    const DataPaths &m_paths;
    Stamp m_stamp;
    bool m_read = false;
    Reading m_reading;
};
