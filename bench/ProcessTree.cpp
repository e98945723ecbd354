#include "ProcessTree.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tarvelo {

namespace {

// The fields of /proc/<pid>/stat after the command name, which may itself
// hold blanks and parentheses: fields[0] is the state, fields[1] the parent.
std::vector<std::string> statFields(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(file, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return {};
    std::istringstream rest(line.substr(close + 1));
    std::vector<std::string> fields;
    for (std::string field; rest >> field;)
        fields.push_back(field);
    return fields;
}

// A "Name:   1234 kB" line of a /proc status-like file; 0 when missing.
std::int64_t kilobytes(const std::string &path, const std::string &name)
{
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, name.size(), name) == 0)
            return std::strtoll(line.c_str() + name.size(), nullptr, 10);
    }
    return 0;
}

} // namespace

pid_t ProcessTree::parentOf(pid_t pid)
{
    const std::vector<std::string> fields = statFields(pid);
    return fields.size() > 1 ? pid_t(std::atoi(fields[1].c_str())) : 0;
}

ProcessTree ProcessTree::of(pid_t root, const std::vector<pid_t> &skipRoots)
{
    std::multimap<pid_t, pid_t> children;
    if (DIR *proc = opendir("/proc")) {
        while (const dirent *entry = readdir(proc)) {
            const pid_t pid = pid_t(std::atoi(entry->d_name));
            if (pid > 0)
                children.emplace(parentOf(pid), pid);
        }
        closedir(proc);
    }
    ProcessTree tree;
    tree.m_pids.push_back(root);
    for (size_t i = 0; i < tree.m_pids.size(); ++i) {
        const auto [first, last] = children.equal_range(tree.m_pids[i]);
        for (auto it = first; it != last; ++it) {
            if (std::find(skipRoots.begin(), skipRoots.end(), it->second) == skipRoots.end())
                tree.m_pids.push_back(it->second);
        }
    }
    return tree;
}

ProcessTree::Memory ProcessTree::memory() const
{
    Memory total;
    for (pid_t pid : m_pids) {
        const std::string base = "/proc/" + std::to_string(pid);
        const std::int64_t rss = kilobytes(base + "/status", "VmRSS:");
        if (rss == 0)
            continue; // gone meanwhile
        total.rssKb += rss;
        total.pssKb += kilobytes(base + "/smaps_rollup", "Pss:");
        ++total.processes;
    }
    return total;
}

double ProcessTree::cpuSeconds() const
{
    static const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
    double ticks = 0;
    for (pid_t pid : m_pids) {
        const std::vector<std::string> fields = statFields(pid);
        // utime and stime are fields 14 and 15 of the whole line
        if (fields.size() > 12)
            ticks += std::atof(fields[11].c_str()) + std::atof(fields[12].c_str());
    }
    return ticks / ticksPerSecond;
}

} // namespace tarvelo
