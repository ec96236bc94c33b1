#pragma once

// Makes every file write of this process fail beyond `bytes` while in scope (RLIMIT_FSIZE, which
// binds root too), so that tests can check what a failed save leaves behind.

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    bool isActive() const { return active; }

private:
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
    bool active = false;
};
