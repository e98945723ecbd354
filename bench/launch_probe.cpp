// tarvelo_probe: the program exactly as main() composes it (app/Program.h),
// plus launch marks (LaunchMarks.h) for the launch benchmark. The program
// itself has no switch that would tell anyone outside when its first page is
// loaded. The marks start watching the windows through Qt's start-up hook,
// inside QApplication's constructor, so no exposure of the window is missed;
// the browser's first load cannot end before the event loop runs, and the
// view is watched before that. "listed" marks the end of the campaign store's
// opening, which comes after the first page has loaded.
#include "LaunchMarks.h"
#include "app/Program.h"
#include "app/Session.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/sites/CampaignPanel.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

tarvelo::LaunchMarks *marks = nullptr;

void addLaunchMarks()
{
    marks = new tarvelo::LaunchMarks(QCoreApplication::instance());
}

void noteListed()
{
    std::printf("listed %lld\n", static_cast<long long>(tarvelo::LaunchMarks::now()));
    std::fflush(stdout);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(addLaunchMarks)

int main(int argc, char *argv[])
{
    return tarvelo::runProgram(
        argc, argv, [](tarvelo::Session &session, tarvelo::WebEngineBrowser &browser) {
            marks->watch(browser.view());
            QObject::connect(&session.campaign(), &tarvelo::CampaignPanel::storeOpened, marks,
                             [] { noteListed(); });
        });
}
