#pragma once

#include <QUrl>
#include <QWebEnginePage>

namespace tarvelo {

// The main browser's page: tells when the page in its main frame sends a
// form, so the campaign can record the submission.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

Q_SIGNALS:
    // from is the page the form was on, not where it was sent to.
    void formSubmitted(const QUrl &from);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
};

} // namespace tarvelo
