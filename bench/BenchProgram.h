#pragma once

#include <functional>

namespace tarvelo {

class Session;
class WebEngineBrowser;

// Starts the program as main() composes it (app/Program.h) and runs body in
// its event loop once the window is shown; the program then ends with body's
// result as its exit code.
int runBenchProgram(int argc, char **argv,
                    const std::function<int(Session &, WebEngineBrowser &)> &body);

// Runs the event loop until done() or the timeout; false on timeout.
bool waitFor(const std::function<bool()> &done, int timeoutMs, int pollMs = 20);

// Runs the event loop for ms milliseconds.
void pause(int ms);

} // namespace tarvelo
