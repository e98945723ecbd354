#pragma once

#include <QString>

#include <optional>

namespace tarvelo {

// What the browser's progress and title events show in the window.
class StatusFeedback
{
public:
    // progress * 100 / maximum rounded to the nearest integer, halves to even;
    // 0 when the hundredfold overflows 32 bits or the maximum is 0.
    static int progressPercent(int progress, int maximum);

    // The "#" bar for a progress event. Empty optional above 100 per cent:
    // the bar is then left as it was.
    static std::optional<QString> progressCaption(int progress, int maximum);

    // The window caption for a page title.
    static QString windowTitle(const QString &pageTitle);
};

} // namespace tarvelo
