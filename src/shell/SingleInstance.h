#pragma once

#include <QString>

#include <memory>

class QLockFile;

/// Keeps a second copy of the program out: a lock file in the temp folder named after
/// "vexatarnvelk" and the user id. A lock file that no running copy holds (left by a
/// crashed run, empty, unreadable) is taken over.
class SingleInstance
{
public:
    /// lockFolder defaults to defaultLockFolder().
    explicit SingleInstance(const QString &lockFolder = QString());
    ~SingleInstance();

    /// True when this process now holds the lock; false when another copy runs or the
    /// lock file cannot be made (refusal() tells which).
    bool tryLock();

    /// After a failed tryLock: "Vexa läuft schon!" when another copy holds the lock,
    /// else a German message naming the lock file and the reason it cannot be made.
    QString refusal() const;

    QString lockPath() const;

    /// The system's temp folder; "/tmp" (or "/var/tmp") when TMPDIR names no folder.
    static QString defaultLockFolder();

private:
    enum class Leftover { OwnerRuns, Removed, Kept };
    /// Removes the lock file unless a running copy holds it; reason tells why it stays.
    Leftover removeLeftoverLock(QString &reason) const;
    QString cannotCreate(const QString &reason) const;

    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    QString m_refusal;
};
