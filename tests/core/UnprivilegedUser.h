#pragma once

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QString>

#include <vector>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

/// Root passes every permission check, so a test of a missing right would not see the
/// failure it is about. While this guard lives, a process running as root checks file
/// access as the user nobody: the folder (with everything in it) is handed to that user
/// first, so it behaves as the candidate's own data folder. For any other user nothing
/// changes.
class AsUnprivilegedUser
{
public:
    explicit AsUnprivilegedUser(const QString &folder)
    {
        if (::geteuid() != 0)
            return;
        const passwd *nobody = ::getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        const QByteArray top = QFile::encodeName(folder);
        bool handed = ::chown(top.constData(), uid, gid) == 0;
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            handed = ::lchown(QFile::encodeName(it.next()).constData(), uid, gid) == 0 && handed;
        const int count = ::getgroups(0, nullptr);
        m_groups.resize(count > 0 ? count : 0);
        if (count > 0 && ::getgroups(count, m_groups.data()) != count)
            handed = false;
        // Groups first: without root's user id they can no longer be changed.
        const gid_t groups[] = {gid};
        m_switched =
            handed && ::setgroups(1, groups) == 0 && ::setegid(gid) == 0 && ::seteuid(uid) == 0;
        m_failed = !m_switched;
    }

    ~AsUnprivilegedUser()
    {
        if (!m_switched)
            return;
        // Back to root for the rest of the run (the temporary folders are removed as root).
        if (::seteuid(0) == 0) {
            (void)::setegid(0);
            (void)::setgroups(m_groups.size(), m_groups.data());
        }
    }

    AsUnprivilegedUser(const AsUnprivilegedUser &) = delete;
    AsUnprivilegedUser &operator=(const AsUnprivilegedUser &) = delete;

    /// False when the process is root but could not become nobody.
    bool ok() const { return !m_failed; }

private:
    std::vector<gid_t> m_groups; // root's supplementary groups, given back at the end
    bool m_switched = false;
    bool m_failed = false;
};
