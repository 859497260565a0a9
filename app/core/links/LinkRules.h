// SPDX-License-Identifier: GPL-3.0-or-later
// Which rule a clicked link falls under: hosts, globs and first match, with no OS call, so the
// router, the settings window and the rules file agree on one reading of a pattern.
#pragma once

#include "WebLink.h"

#include <QList>
#include <QString>

#include <optional>

namespace Tolvane {

// A pattern is a site (`example.com`, `localhost:8080`, `[::1]`: that host and its subdomains, any
// port unless one is named) or, once it holds `/` or `*`, a glob over `host[:port]/path`.
struct LinkRule {
    QString pattern;
    QString target; // a desktop file ID, or "ask"
};

// Why `pattern` can never match a link (empty, a scheme, spaces, an empty label...), for the user
// to read beside the rule; none when it can.
std::optional<QString> linkPatternProblem(const QString& pattern);
// Whether `link` falls under `pattern`; false for a pattern with a problem.
bool linkPatternMatches(const QString& pattern, const WebLink& link);
// Index of the first rule whose pattern matches `link`, or none.
std::optional<qsizetype> firstMatchingRule(const QList<LinkRule>& rules, const WebLink& link);

} // namespace Tolvane
