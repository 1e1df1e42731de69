#pragma once

#include <QString>

#include <memory>

class QLockFile;

/// Keeps a second copy of the program out: a lock file in the temp folder named after
/// "vexatarnvelk" and the user id. A stale lock of a crashed run is taken over.
class SingleInstance
{
public:
    /// lockFolder defaults to the system's temp folder.
    explicit SingleInstance(const QString &lockFolder = QString());
    ~SingleInstance();

    /// True when this process now holds the lock; false when another copy runs.
    bool tryLock();

    QString lockPath() const;

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};
