#include "gui/browser/WebPage.h"

namespace tarvelo {

bool WebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    // A form in a frame of the page (an advert, a search box) is not the
    // directory's submission form; a resubmission (reload after a POST) is
    // not a new submission.
    if (type == NavigationTypeFormSubmitted && isMainFrame)
        Q_EMIT formSubmitted(this->url());
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

} // namespace tarvelo
