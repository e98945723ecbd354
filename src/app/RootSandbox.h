#pragma once

namespace tarvelo {

// The browser engine will not start its sandbox for root, and without a word
// the page would stay empty. Run as root and with no sandbox choice of the
// user's (QTWEBENGINE_DISABLE_SANDBOX in the environment, or a sandbox flag in
// QTWEBENGINE_CHROMIUM_FLAGS or on the command line), switches the sandbox off
// the way Qt WebEngine documents and says so on standard error. Call before
// the application object exists.
void switchOffSandboxForRoot(int argc, char **argv);

} // namespace tarvelo
