#pragma once

#include <optional>

namespace tarvelo {

// The program's command-line mode: --check-pad, --export-log, --help and --version run with
// a QCoreApplication only (no window, no browser process) and end the program.
class CommandLine
{
public:
    // The exit code when the arguments ask for the command-line mode, nothing
    // when the window is to be started.
    static std::optional<int> run(int &argc, char *argv[]);
};

} // namespace tarvelo
