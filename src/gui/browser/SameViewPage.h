#pragma once

#include <QWebEnginePage>

namespace tarvelo {

// A page whose links and scripts that ask for a new window open it in place:
// the program has one browser, and a submission form opened in a new window
// must not simply vanish.
class SameViewPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
};

} // namespace tarvelo
