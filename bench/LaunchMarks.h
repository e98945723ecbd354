#pragma once

#include <QObject>

class QWebEngineView;

namespace tarvelo {

// Notes when a started program is ready for its user: its window holding the
// browser is exposed on screen, and the browser's first page has loaded. Both
// moments go to standard output as steady-clock nanoseconds, which a driver
// in another process compares with the moment it started the program:
//
//   shown <ns>
//   loaded <ns> <ok>
//   ready <ns>
//
// The same observer sits in the program and in the bare view it is compared
// with, so both are measured alike.
class LaunchMarks : public QObject
{
    Q_OBJECT
public:
    // Watches the application's windows from now on; the application must exist.
    explicit LaunchMarks(QObject *parent = nullptr);

    // Notes the end of the view's next load.
    void watch(QWebEngineView *view);

    static qint64 now();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void note(const char *what, qint64 at, const char *extra = "");

    qint64 m_shown = 0;
    qint64 m_loaded = 0;
};

} // namespace tarvelo
