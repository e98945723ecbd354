// Linked with src/app/main.cpp, compiled unchanged, into tarvelo_probe: the
// program exactly as main() composes it, plus launch marks (LaunchMarks.h) for
// the launch benchmark. The program itself has no switch that would tell
// anyone outside when its first page is loaded; this adds one from outside
// main(), through Qt's start-up hook, which runs inside QApplication's
// constructor.
#include "LaunchMarks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWebEngineView>

#include <cstdio>

namespace {

void addLaunchMarks()
{
    auto *marks = new tarvelo::LaunchMarks(QCoreApplication::instance());
    // main() builds the window and its browser after the application. The
    // first turn of the event loop finds the view, and nothing can have
    // loaded before that turn.
    QMetaObject::invokeMethod(
        marks,
        [marks] {
            const QWidgetList widgets = QApplication::allWidgets();
            for (QWidget *widget : widgets) {
                if (auto *view = qobject_cast<QWebEngineView *>(widget)) {
                    marks->watch(view);
                    return;
                }
            }
            std::fprintf(stderr, "tarvelo_probe: no browser view found\n");
        },
        Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(addLaunchMarks)
