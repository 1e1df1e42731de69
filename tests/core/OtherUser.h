#pragma once

#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <sys/fsuid.h>
#include <sys/types.h>
#include <unistd.h>

/// Root passes every permission check, so a read-only folder refuses nothing to a test
/// run as root (as CI runs). While an OtherUser lives, a root process checks the file
/// access of the calling thread as another user, who is made the owner of the given
/// paths, so their permission bits decide as they do for any other user. For a test
/// not run as root it does nothing: the test's own user meets the permissions already.
/// Only the calling thread changes (setfsuid), so threads of a page engine keep going.
class OtherUser
{
public:
    static constexpr uid_t kUid = 65534; // "nobody"

    explicit OtherUser(const QStringList &ownedPaths)
    {
        if (::geteuid() != 0)
            return;
        for (const QString &path : ownedPaths)
            m_valid = m_valid && ::chown(QFile::encodeName(path).constData(), kUid, kUid) == 0;
        ::setfsuid(kUid);
        // setfsuid reports no failure; a second call returns the id now in force.
        m_switched = ::setfsuid(kUid) == static_cast<int>(kUid);
        m_valid = m_valid && m_switched;
    }
    ~OtherUser()
    {
        if (m_switched)
            ::setfsuid(0);
    }
    OtherUser(const OtherUser &) = delete;
    OtherUser &operator=(const OtherUser &) = delete;

    /// The folder and everything in it, to hand a whole data folder to the other user.
    static QStringList tree(const QString &folder)
    {
        QStringList paths{folder};
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            paths.append(it.next());
        return paths;
    }

    /// False when a root process could not take the other user's part.
    bool isValid() const { return m_valid; }

private:
    bool m_valid = true;
    bool m_switched = false;
};
