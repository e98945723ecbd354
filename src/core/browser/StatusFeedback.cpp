#include "core/browser/StatusFeedback.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace tarvelo {

int StatusFeedback::progressPercent(int progress, int maximum)
{
    int hundredfold = 0;
    if (__builtin_mul_overflow(progress, 100, &hundredfold) || maximum == 0)
        return 0;
    // |maximum| >= 1 and the hundredfold fits 32 bits, so the quotient does too;
    // nearbyint rounds halves to even in the default rounding mode
    const double quotient = static_cast<double>(hundredfold) / static_cast<double>(maximum);
    return static_cast<int>(std::nearbyint(quotient));
}

std::optional<QString> StatusFeedback::progressCaption(int progress, int maximum)
{
    const int percent = progressPercent(progress, maximum);
    if (percent > 100)
        return std::nullopt;
    if (percent < 11)
        return QString();
    // 11..20 is the first step and already has two marks
    const int marks = (percent - 1) / 10 + 1;
    return QString(marks, u'#');
}

QString StatusFeedback::windowTitle(const QString &pageTitle)
{
    if (pageTitle.isEmpty())
        return u"Tarvelo"_s;
    return pageTitle + u" - Tarvelo"_s;
}

} // namespace tarvelo
