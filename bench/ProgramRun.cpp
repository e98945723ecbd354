#include "ProgramRun.h"

#include "ProcessTree.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace fs = std::filesystem;

namespace tarvelo {

namespace {

std::vector<std::string> environmentFor(const fs::path &home)
{
    static const char *const ours[] = {"HOME=",
                                       "XDG_CONFIG_HOME=",
                                       "XDG_DATA_HOME=",
                                       "XDG_CACHE_HOME=",
                                       "XDG_RUNTIME_DIR=",
                                       "QT_QPA_PLATFORM=",
                                       "QTWEBENGINE_DISABLE_SANDBOX="};
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const bool replaced = std::any_of(std::begin(ours), std::end(ours), [&](const char *p) {
            return std::strncmp(*e, p, std::strlen(p)) == 0;
        });
        if (!replaced)
            env.emplace_back(*e);
    }
    env.push_back("HOME=" + home.string());
    env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
    env.push_back("XDG_DATA_HOME=" + (home / "data").string());
    env.push_back("XDG_CACHE_HOME=" + (home / "cache").string());
    env.push_back("XDG_RUNTIME_DIR=" + (home / "runtime").string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    if (geteuid() == 0)
        env.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
    if (!std::getenv("QTWEBENGINE_CHROMIUM_FLAGS"))
        env.push_back("QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu");
    return env;
}

std::vector<char *> pointers(std::vector<std::string> &strings)
{
    std::vector<char *> result;
    for (std::string &s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

long long ProgramRun::now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

ProgramRun::ProgramRun(std::vector<std::string> argv, const fs::path &home, const std::string &page)
    : m_home(home)
{
    for (const char *sub : {"config", "data", "cache", "runtime"})
        fs::create_directories(home / sub);
    fs::permissions(home / "runtime", fs::perms::owner_all);
    for (std::string &arg : argv) {
        if (arg == "@PAGE@") {
            fs::copy_file(page, home / "tempIndex.html", fs::copy_options::overwrite_existing);
            arg = (home / "tempIndex.html").string();
        }
    }
    std::vector<std::string> env = environmentFor(home);

    int out[2];
    if (pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    const std::string logPath = (home / "stderr.log").string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char *> argp = pointers(argv);
    std::vector<char *> envp = pointers(env);
    m_startedAt = now();
    const int failed = posix_spawn(&m_pid, argp[0], &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    m_out = out[0];
    if (failed != 0) {
        m_pid = 0;
        std::ofstream(logPath, std::ios::app)
            << "cannot start " << argv[0] << ": " << std::strerror(failed) << "\n";
    }
}

ProgramRun::~ProgramRun()
{
    if (m_pid > 0) {
        const std::vector<pid_t> pids = ProcessTree::of(m_pid).pids();
        kill(m_pid, SIGTERM);
        bool reaped = false;
        for (int i = 0; i < 100 && !reaped; ++i) {
            reaped = waitpid(m_pid, nullptr, WNOHANG) == m_pid;
            if (!reaped)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!reaped) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        // The engine's helpers end when they lose their parent; make sure, by id.
        for (int i = 0; i < 50; ++i) {
            const bool alive = std::any_of(pids.begin() + 1, pids.end(),
                                           [](pid_t pid) { return kill(pid, 0) == 0; });
            if (!alive)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (i == 49) {
                for (auto it = pids.begin() + 1; it != pids.end(); ++it)
                    kill(*it, SIGKILL);
            }
        }
    }
    if (m_out >= 0)
        close(m_out);
    std::error_code ignored;
    fs::remove_all(m_home, ignored);
}

bool ProgramRun::waitFor(const std::string &name, int timeoutMs)
{
    const long long deadline = now() + (long long)timeoutMs * 1000000;
    while (m_pid > 0 && !m_marks.count(name)) {
        const long long left = (deadline - now()) / 1000000;
        if (left <= 0)
            break;
        pollfd p{m_out, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0)
            continue;
        char buffer[512];
        const ssize_t n = read(m_out, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_pending.append(buffer, size_t(n));
        for (size_t end; (end = m_pending.find('\n')) != std::string::npos;) {
            const std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            const auto blank = line.find(' ');
            if (blank != std::string::npos)
                m_marks[line.substr(0, blank)] = std::atoll(line.c_str() + blank + 1);
        }
    }
    return m_marks.count(name) > 0;
}

long long ProgramRun::mark(const std::string &name) const
{
    const auto it = m_marks.find(name);
    return it == m_marks.end() ? 0 : it->second;
}

std::string ProgramRun::log() const
{
    std::ifstream file(m_home / "stderr.log");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace tarvelo
