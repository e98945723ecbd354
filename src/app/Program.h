#pragma once

#include <functional>

namespace tarvelo {

class Session;
class WebEngineBrowser;

// Runs once the window is shown, before the event loop starts.
using StartedHook = std::function<void(Session &session, WebEngineBrowser &browser)>;

// The program composed from its real platform services: the application,
// Qt's dialogs, the settings file, the key-state filter and the Qt WebEngine
// browser, with the window's session on top; runs until the window closes
// and returns the exit code. main(), the X11 test driver and the benchmarks
// all start the program through here.
int runProgram(int argc, char **argv, const StartedHook &onStarted = {});

} // namespace tarvelo
