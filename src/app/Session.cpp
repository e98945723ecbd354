#include "app/Session.h"

#include "app/Lifecycle.h"
#include "browser/Browser.h"
#include "ui/FrmMain.h"

namespace tarvelo {

Session::Session(Platform platform)
    : m_platform(platform), m_window(std::make_unique<FrmMain>(&platform.browser))
{
    Lifecycle::Steps steps;
    // Until the help page is in place Home shows an empty page.
    steps.pressHome = [this] { m_platform.browser.navigate(QStringLiteral("about:blank")); };
    m_lifecycle = std::make_unique<Lifecycle>(*m_window, m_platform.dialogs, m_platform.settings,
                                              std::move(steps));
}

Session::~Session() = default;

void Session::startUp()
{
    m_lifecycle->startUp();
}

} // namespace tarvelo
