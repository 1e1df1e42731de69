#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTest>

/// A file's bytes; empty when it cannot be read.
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Makes bytes the whole content of the file; a file that cannot be written fails the test.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

/// Every file and folder below dir, by its path relative to dir, with the bytes of the
/// files (a folder as "<dir>"): what "nothing changed" compares. Without journals, the
/// files an open SQLite database keeps beside itself ("-wal", "-shm") are left out,
/// since they come and go with the database's own work.
inline QMap<QString, QByteArray> folderContent(const QString &dir, bool withJournals = true)
{
    QMap<QString, QByteArray> content;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!withJournals &&
            (path.endsWith(QLatin1String("-wal")) || path.endsWith(QLatin1String("-shm"))))
            continue;
        content.insert(QDir(dir).relativeFilePath(path),
                       it.fileInfo().isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return content;
}
