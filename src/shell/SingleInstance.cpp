#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}
} // namespace

SingleInstance::SingleInstance(const QString &lockFolder)
{
    const QString folder = lockFolder.isEmpty() ? defaultLockFolder() : lockFolder;
    m_path = folder + QStringLiteral("/vexatarnvelk-%1.lock").arg(::getuid());
    m_lock = std::make_unique<QLockFile>(m_path);
    // Whether the owner still runs is decided by its hold on the file, never by age.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockFolder()
{
    // QDir::tempPath() is empty when TMPDIR names a missing folder, which would put the
    // lock at the root of the file system.
    for (const QString &folder :
         {QDir::tempPath(), QStringLiteral("/tmp"), QStringLiteral("/var/tmp")}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QStringLiteral("/tmp");
}

bool SingleInstance::tryLock()
{
    m_refusal.clear();
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() == QLockFile::LockFailedError) {
        QString reason;
        switch (removeLeftoverLock(reason)) {
        case Leftover::OwnerRuns:
            m_refusal = QStringLiteral("Vexa läuft schon!");
            return false;
        case Leftover::Kept:
            m_refusal = QStringLiteral("Vexa kann nicht starten: Die Sperrdatei %1 ist von einem "
                                       "früheren Lauf übrig und kann nicht gelöscht werden (%2). "
                                       "Bitte die Datei löschen.")
                            .arg(m_path, reason);
            return false;
        case Leftover::Removed:
            if (m_lock->tryLock(0))
                return true;
            // A copy started in between.
            if (m_lock->error() == QLockFile::LockFailedError) {
                m_refusal = QStringLiteral("Vexa läuft schon!");
                return false;
            }
            break;
        }
    }
    // QLockFile keeps the system's reason to itself; a file of our own in the same
    // folder fails the same way and tells it.
    QFile probe(QFileInfo(m_path).absolutePath() +
                QStringLiteral("/vexatarnvelk-probe-%1").arg(::getpid()));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        m_refusal = cannotCreate(QStringLiteral("unbekannter Fehler"));
    } else {
        m_refusal = cannotCreate(probe.errorString());
    }
    return false;
}

SingleInstance::Leftover SingleInstance::removeLeftoverLock(QString &reason) const
{
    // A running copy holds an flock on its lock file for as long as it runs (QLockFile
    // takes one), whatever the file says; a file that nobody holds is a leftover, also
    // when it is empty, garbled or names a pid that now belongs to another process.
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return Leftover::Removed; // its owner ended just now
        // A running copy's file is always readable by its user.
    } else {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return Leftover::OwnerRuns;
            reason = systemError(error);
            return Leftover::Kept;
        }
        // Another copy may have replaced the file meanwhile: only this one goes.
        struct stat held
        {
        };
        struct stat named
        {
        };
        const bool same = ::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 &&
                          held.st_dev == named.st_dev && held.st_ino == named.st_ino;
        if (!same) {
            ::close(fd);
            return Leftover::Removed;
        }
    }
    const bool removed = ::unlink(name.constData()) == 0 || errno == ENOENT;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (removed)
        return Leftover::Removed;
    reason = systemError(error);
    return Leftover::Kept;
}

QString SingleInstance::cannotCreate(const QString &reason) const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    return QStringLiteral("Vexa kann nicht starten: Die Sperrdatei %1 kann nicht angelegt "
                          "werden (%2). Bitte den Ordner %3 prüfen.")
        .arg(m_path, reason, folder);
}

QString SingleInstance::refusal() const
{
    return m_refusal;
}

QString SingleInstance::lockPath() const
{
    return m_path;
}
