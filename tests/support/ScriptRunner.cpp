#include "ScriptRunner.h"

#include "gui/browser/Browser.h"

#include <QTest>

#include <memory>

namespace tarvelo {

QVariant runScriptAndWait(Browser &browser, const QString &script, int timeoutMs)
{
    // Shared with the callback: an answer that arrives after we gave up must
    // not write into a stack frame that is gone.
    struct Answer
    {
        QVariant value;
        bool done = false;
    };
    const auto answer = std::make_shared<Answer>();
    browser.runIsolatedScript(script, [answer](const QVariant &value) {
        answer->value = value;
        answer->done = true;
    });
    if (!QTest::qWaitFor([&] { return answer->done; }, timeoutMs))
        qWarning("script gave no answer: %s", qPrintable(script));
    return answer->value;
}

} // namespace tarvelo
