#include "LaunchMarks.h"

#include <QApplication>
#include <QPointer>
#include <QWebEngineView>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace tarvelo {

LaunchMarks::LaunchMarks(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

qint64 LaunchMarks::now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void LaunchMarks::watch(QWebEngineView *view)
{
    connect(view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (m_loaded == 0)
            note("loaded", m_loaded = now(), ok ? " 1" : " 0");
    });
}

bool LaunchMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (m_shown == 0 && event->type() == QEvent::Expose) {
        // The expose event is delivered before the window counts as exposed;
        // look once it has been handled.
        auto *window = qobject_cast<QWindow *>(watched);
        if (window && window->isTopLevel()) {
            QMetaObject::invokeMethod(
                this,
                [this, window = QPointer<QWindow>(window), at = now()] {
                    if (m_shown != 0 || !window || !window->isExposed())
                        return;
                    for (QWidget *top : QApplication::topLevelWidgets()) {
                        if (top->windowHandle() == window && (qobject_cast<QWebEngineView *>(top) ||
                                                              top->findChild<QWebEngineView *>()))
                            note("shown", m_shown = at);
                    }
                },
                Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

void LaunchMarks::note(const char *what, qint64 at, const char *extra)
{
    std::printf("%s %lld%s\n", what, static_cast<long long>(at), extra);
    if (m_shown != 0 && m_loaded != 0)
        std::printf("ready %lld\n", static_cast<long long>(std::max(m_shown, m_loaded)));
    std::fflush(stdout);
}

} // namespace tarvelo
