#include "shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>

#include <unistd.h>

SingleInstance::SingleInstance(const QString &lockFolder)
{
    const QString folder = lockFolder.isEmpty() ? QDir::tempPath() : lockFolder;
    m_path = folder + QStringLiteral("/vexatarnvelk-%1.lock").arg(::getuid());
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock is never stale while its owner runs; QLockFile checks the owner's pid.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryLock()
{
    return m_lock->tryLock(0);
}

QString SingleInstance::lockPath() const
{
    return m_path;
}
