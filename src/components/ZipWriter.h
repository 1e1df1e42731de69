#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

/// Builds a ZIP archive with deflated entries (the catalogue archive), named exactly as
/// the program asks for them.
class ZipWriter
{
public:
    /// Adds an entry; the bytes go into the archive unchanged.
    void addEntry(const QString &name, const QByteArray &bytes, const QDateTime &modified);

    /// The whole archive in memory; empty with *error (when given) set when libzip fails.
    [[nodiscard]] QByteArray archive(QString *error) const;

    /// Writes the archive to path atomically: a reader sees the old file or the new one,
    /// never half of it. Returns false with the reason in *error (when given) otherwise;
    /// the caller words the warning (WriteError::message).
    [[nodiscard]] bool write(const QString &path, QString *error) const;

private:
    struct Entry
    {
        QString name;
        QByteArray bytes;
        QDateTime modified;
    };
    QList<Entry> m_entries;
};
