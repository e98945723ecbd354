#pragma once

#include <sys/types.h>

#include <cstdint>
#include <vector>

namespace tarvelo {

// A process and all its descendants as /proc shows them at one moment. The
// browser runs its pages in helper processes, so memory and CPU time are only
// comparable when counted over the whole tree.
class ProcessTree
{
public:
    struct Memory
    {
        std::int64_t rssKb = 0; // resident set, summed: shared pages count once per process
        std::int64_t pssKb = 0; // proportional set: shared pages split between their users
        int processes = 0;
    };

    // The root first; processes under one of skipRoots are left out with
    // their own descendants.
    static ProcessTree of(pid_t root, const std::vector<pid_t> &skipRoots = {});

    const std::vector<pid_t> &pids() const { return m_pids; }
    Memory memory() const;
    // User plus system time of the live processes, in seconds.
    double cpuSeconds() const;

    static pid_t parentOf(pid_t pid);

private:
    std::vector<pid_t> m_pids;
};

} // namespace tarvelo
