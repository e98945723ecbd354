#include "gui/browser/SameViewPage.h"

namespace tarvelo {

QWebEnginePage *SameViewPage::createWindow(WebWindowType)
{
    // The engine adopts the new window's contents into this page.
    return this;
}

} // namespace tarvelo
