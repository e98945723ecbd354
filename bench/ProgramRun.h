#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tarvelo {

// One run of a program that prints launch marks (LaunchMarks.h), as a new
// user starts it: in a fresh home of its own, on the offscreen platform, with
// the browser engine flags the tests use. Ending the run ends the program's
// whole process tree and removes the home.
class ProgramRun
{
public:
    // Starts argv; an argument "@PAGE@" becomes a copy of page in the home.
    ProgramRun(std::vector<std::string> argv, const std::filesystem::path &home,
               const std::string &page = {});
    ~ProgramRun();
    ProgramRun(const ProgramRun &) = delete;
    ProgramRun &operator=(const ProgramRun &) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    // Steady-clock nanoseconds just before the spawn.
    long long startedAt() const { return m_startedAt; }

    // Reads marks until "ready"; false when it does not come in time.
    bool waitReady(int timeoutMs) { return waitFor("ready", timeoutMs); }
    // Reads marks until the one named; false when it does not come in time.
    bool waitFor(const std::string &name, int timeoutMs);
    long long mark(const std::string &name) const;
    const std::map<std::string, long long> &marks() const { return m_marks; }
    std::string log() const;

    static long long now();

private:
    std::filesystem::path m_home;
    pid_t m_pid = 0;
    int m_out = -1;
    long long m_startedAt = 0;
    std::string m_pending;
    std::map<std::string, long long> m_marks;
};

} // namespace tarvelo
