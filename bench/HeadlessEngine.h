#pragma once

#include <QByteArray>

// A benchmark runs without a desktop, also as root: the offscreen platform and
// the engine's sandbox off, unless the caller chose otherwise.
inline void useHeadlessEngine()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}
