#include "app/RootSandbox.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tarvelo {

namespace {

bool userChoseSandbox(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        return true;
    if (qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("sandbox"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strstr(argv[i], "sandbox"))
            return true;
    }
    return false;
}

} // namespace

void switchOffSandboxForRoot(int argc, char **argv)
{
    if (geteuid() != 0 || userChoseSandbox(argc, argv))
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("tarvelo: running as root, so the browser's sandbox is off\n", stderr);
}

} // namespace tarvelo
