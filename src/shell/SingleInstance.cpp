#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    if (m_lock->tryLock(0)) {
        m_refusal.clear();
        return true;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        m_refusal = QStringLiteral("Vexa läuft schon!");
        return false;
    }
    // QLockFile keeps the system's reason to itself; a file of our own in the same
    // folder fails the same way and tells it.
    const QFileInfo lock(m_path);
    QString reason;
    QFile probe(lock.absolutePath() + QStringLiteral("/vexatarnvelk-probe-%1").arg(::getpid()));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        reason = QStringLiteral("unbekannter Fehler");
    } else {
        reason = probe.errorString();
    }
    m_refusal = QStringLiteral("Vexa kann nicht starten: Die Sperrdatei %1 kann nicht angelegt "
                               "werden (%2). Bitte den Ordner %3 prüfen.")
                    .arg(m_path, reason, lock.absolutePath());
    return false;
}

QString SingleInstance::refusal() const
{
    return m_refusal;
}

QString SingleInstance::lockPath() const
{
    return m_path;
}
