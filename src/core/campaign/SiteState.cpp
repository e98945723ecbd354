#include "core/campaign/SiteState.h"

#include <array>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

struct StateText
{
    QString name;
    QString label;
};

const std::array<StateText, SiteStateCount> &stateTexts()
{
    static const std::array<StateText, SiteStateCount> texts = {{
        {u"todo"_s, u"To do"_s},
        {u"submitted"_s, u"Submitted"_s},
        {u"awaiting-email"_s, u"Awaiting e-mail"_s},
        {u"listed"_s, u"Listed"_s},
        {u"rejected"_s, u"Rejected"_s},
        {u"skipped"_s, u"Skipped"_s},
        {u"dead"_s, u"Dead"_s},
        {u"update-due"_s, u"Update due"_s},
    }};
    return texts;
}

} // namespace

QString stateName(SiteState state)
{
    return stateTexts()[size_t(state)].name;
}

std::optional<SiteState> stateFromName(const QString &name)
{
    for (int i = 0; i < SiteStateCount; ++i) {
        if (stateTexts()[size_t(i)].name == name)
            return SiteState(i);
    }
    return std::nullopt;
}

QString stateLabel(SiteState state)
{
    return stateTexts()[size_t(state)].label;
}

} // namespace tarvelo
