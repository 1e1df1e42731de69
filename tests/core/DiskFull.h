#pragma once

#include <csignal>
#include <sys/resource.h>

/// A full disk for this process, which works as root too: every file write past `bytes`
/// fails while the object lives.
class DiskFullAfter
{
public:
    explicit DiskFullAfter(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_IGN); // fail the write instead of ending the process
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~DiskFullAfter() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    DiskFullAfter(const DiskFullAfter &) = delete;
    DiskFullAfter &operator=(const DiskFullAfter &) = delete;

private:
    rlimit m_saved{};
};
