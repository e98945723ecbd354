#pragma once

#include <QString>
#include <QVariant>

namespace tarvelo {

class Browser;

// Runs a script against the page in the browser's own world and waits for its
// result. Gives an invalid QVariant, with a warning, when no answer comes in
// time.
QVariant runScriptAndWait(Browser &browser, const QString &script, int timeoutMs = 10000);

} // namespace tarvelo
