// SPDX-License-Identifier: GPL-3.0-or-later
// Links by rules from the command line: the router the handler entry runs, and the commands that
// turn it on and edit the rules.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace Tolvane::cli {

// Opens each link in the browser the first matching rule names, or the chosen browser; with no
// link, starts the chosen browser. Every link is handed on as given. A link that is not http or
// https is refused (usage error) and the others still open.
int openLinks(const QStringList& links, QTextStream& err);

// `--route on|off|status|list|add PATTERN BROWSER|remove N|test URL`.
int route(const QString& action, const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace Tolvane::cli
