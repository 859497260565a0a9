// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRouter.h"

#include "LinkDecision.h"
#include "LinkRulesFile.h"
#include "SaidOnce.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QUrl>

namespace Tolvane::links {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::cli", text);
}

bool isWebLink(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

LinkRouter::LinkRouter(Doors doors) : doors_(std::move(doors)) {}

void LinkRouter::sayOnce(const QString& why) {
    doors_.tell(why);
    SaidOnce said;
    if (said.said(why))
        return;
    // Only a message that reached the desktop counts as said: else the next click tries again.
    if (doors_.notify(tr("Links go to the default browser"), why))
        said.remember(why);
}

LinkRouter::Result LinkRouter::route(const QStringList& links) {
    const auto chosen =
        platform::get<platform::HandlerService>()->defaultHandlerForURLScheme(QStringLiteral("https"));
    if (const QString standIn = platform::get<platform::LinkRouting>()->standIn(); !standIn.isEmpty())
        sayOnce(
            chosen
                ? tr("%1 Links open in \u201c%2\u201d meanwhile; choose a browser in Tolvane to mend this.")
                      .arg(standIn, *chosen)
                : standIn);
    Result result = Result::opened;
    LinkRulesFile file;
    QList<LinkRule> rules;
    if (file.load())
        rules = file.rules();
    else
        sayOnce(file.error());
    // Consecutive links for one browser go to it together.
    QList<std::pair<QString, QStringList>> batches;
    for (const QString& link : links) {
        const QUrl url(link);
        if (!isWebLink(url)) {
            doors_.tell(tr("\u201c%1\u201d is not a web link").arg(link));
            result = Result::someRefused;
            continue;
        }
        const LinkDecision decision =
            decideLink(rules, url, chosen.value_or(QString()), [](const QString&) { return true; });
        if (!batches.isEmpty() && batches.last().first == decision.target)
            batches.last().second << link;
        else
            batches << std::pair{decision.target, QStringList{link}};
    }
    if (links.isEmpty())
        batches << std::pair{chosen.value_or(QString()), QStringList()};
    for (qsizetype i = 0; i < batches.size(); ++i) {
        auto [target, batch] = batches[i];
        if (target == askTarget) {
            if (doors_.ask(batch))
                continue;
            target = chosen.value_or(QString());
        }
        // The last browser takes this process's place, unless a status must still be told.
        const bool last = i + 1 == batches.size() && result == Result::opened;
        QString error;
        if (!target.isEmpty() && doors_.open(batch, target, last, &error))
            continue;
        if (!target.isEmpty() && target != chosen) {
            // A rule's browser that is gone or cannot start: the link goes where no rule would send it.
            sayOnce(tr("The browser \u201c%1\u201d of a link rule cannot open links: %2").arg(target, error));
            if (chosen && doors_.open(batch, *chosen, last, &error))
                continue;
        }
        doors_.tell(chosen ? tr("Could not open the link: %1").arg(error)
                           : tr("No default browser is set for https links."));
        return Result::failed;
    }
    return result;
}

} // namespace Tolvane::links
