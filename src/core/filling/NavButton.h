#pragma once

namespace tarvelo {

// The four navigation buttons above the browser.
enum class NavButton { Back, Forward, Stop, Refresh };

} // namespace tarvelo
