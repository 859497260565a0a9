// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkDecision.h"

namespace Tolvane {

LinkDecision decideLink(const QList<LinkRule>& rules, const WebLink& link, const QString& chosen,
                        const std::function<bool(const QString& desktopId)>& isInstalled) {
    LinkDecision decision{chosen, std::nullopt, {}};
    const auto index = firstMatchingRule(rules, link);
    if (!index)
        return decision;
    const QString& target = rules[*index].target;
    if (target == askTarget || isInstalled(target))
        return LinkDecision{target, index, {}};
    // A rule for a browser that is gone must not drop the link.
    decision.missingTarget = target;
    return decision;
}

} // namespace Tolvane
