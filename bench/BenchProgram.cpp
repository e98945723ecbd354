#include "BenchProgram.h"

#include "app/Program.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace tarvelo {

int runBenchProgram(int argc, char **argv,
                    const std::function<int(Session &, WebEngineBrowser &)> &body)
{
    return runProgram(argc, argv, [&body](Session &session, WebEngineBrowser &browser) {
        // In the event loop, so that exit() ends it.
        QTimer::singleShot(0, QCoreApplication::instance(), [&body, &session, &browser] {
            QCoreApplication::exit(body(session, browser));
        });
    });
}

bool waitFor(const std::function<bool()> &done, int timeoutMs, int pollMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(pollMs);
    if (!done())
        loop.exec();
    return done();
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace tarvelo
