// SPDX-License-Identifier: GPL-3.0-or-later
// Where one link goes: the router, `--route test` and the settings' test box ask the same question.
#pragma once

#include "LinkRules.h"

#include <QString>

#include <functional>
#include <optional>

namespace Tolvane {

struct LinkDecision {
    QString target;                // a desktop file ID, or "ask"
    std::optional<qsizetype> rule; // the index of the rule that sent it there; none: the default
    QString missingTarget;         // a matching rule's browser that is not installed (the link fell through)
};

inline const QString askTarget = QStringLiteral("ask");

// The first rule that matches `link` and names an installed browser (or "ask") decides; else
// `chosen`, the default browser.
LinkDecision decideLink(const QList<LinkRule>& rules, const WebLink& link, const QString& chosen,
                        const std::function<bool(const QString& desktopId)>& isInstalled);

} // namespace Tolvane
