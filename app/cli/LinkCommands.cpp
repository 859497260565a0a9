// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkCommands.h"

#include "BrowserCommands.h"
#include "app/core/links/LinkDecision.h"
#include "app/core/links/LinkRulesFile.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Workspace.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

namespace Tolvane::cli {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::cli", text);
}

// Tells the user once per reason, as a desktop notification where there is one: a link is never
// held up for it, and a rules file that stays broken does not say so at every click.
void sayOnce(const QString& why, QTextStream& err) {
    err << "tolvane: " << why << '\n';
    const QString said = platform::tolvaneConfigDir() + QStringLiteral("/links.said");
    const QByteArray key = QCryptographicHash::hash(why.toUtf8(), QCryptographicHash::Sha1).toHex();
    QFile file(said);
    if (file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == key)
        return;
    file.close();
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(key + '\n');
    QProcess notify;
    notify.setProgram(QStringLiteral("gdbus"));
    notify.setArguments({"call", "--session", "--dest", "org.freedesktop.Notifications", "--object-path",
                         "/org/freedesktop/Notifications", "--method", "org.freedesktop.Notifications.Notify",
                         "Tolvane", "0", "app.tolvane.Tolvane", tr("Links go to the default browser"), why,
                         "[]", "{}", "10000"});
    notify.setStandardOutputFile(QProcess::nullDevice());
    notify.setStandardErrorFile(QProcess::nullDevice());
    notify.startDetached();
}

std::optional<QString> chosenBrowser() {
    return platform::get<platform::HandlerService>()->defaultHandlerForURLScheme(QStringLiteral("https"));
}

// Asks the running Tolvane (D-Bus starts it when none runs) to show the picker for `links`.
bool ask(const QStringList& links) {
    QStringList quoted;
    for (const QString& link : links)
        quoted << '\'' + QString(link).replace('\\', "\\\\").replace('\'', "\\'") + '\'';
    QProcess call;
    call.start(QStringLiteral("gdbus"),
               {"call", "--session", "--dest", "app.tolvane.Tolvane", "--object-path", "/app/tolvane/Tolvane",
                "--method", "app.tolvane.Tolvane.Links1.Ask", '[' + quoted.join(',') + ']',
                qEnvironmentVariable("XDG_ACTIVATION_TOKEN")});
    return call.waitForFinished(25000) && call.exitStatus() == QProcess::NormalExit && call.exitCode() == 0;
}

} // namespace

int openLinks(const QStringList& links, QTextStream& err) {
    const auto chosen = chosenBrowser();
    const auto workspace = platform::get<platform::Workspace>();
    int status = success;
    LinkRulesFile file;
    QList<LinkRule> rules;
    if (file.load())
        rules = file.rules();
    else
        sayOnce(file.error(), err);
    // Consecutive links for one browser go to it together.
    QList<std::pair<QString, QStringList>> batches;
    for (const QString& link : links) {
        const std::optional<WebLink> url = WebLink::read(link);
        if (!url) {
            err << "tolvane: " << tr("\u201c%1\u201d is not a web link").arg(link) << '\n';
            status = usageError;
            continue;
        }
        const LinkDecision decision =
            decideLink(rules, *url, chosen.value_or(QString()), [](const QString&) { return true; });
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
            if (ask(batch))
                continue;
            target = chosen.value_or(QString());
        }
        // The last browser takes this process's place, unless a status must still be told.
        const bool last = i + 1 == batches.size() && status == success;
        err.flush();
        QString error;
        if (!target.isEmpty() && workspace->openURLsWithBundleIdentifier(batch, target, last, &error))
            continue;
        if (!target.isEmpty() && target != chosen) {
            // A rule's browser that is gone or cannot start: the link goes where no rule would send it.
            sayOnce(tr("The browser \u201c%1\u201d of a link rule cannot open links: %2").arg(target, error),
                    err);
            if (chosen && workspace->openURLsWithBundleIdentifier(batch, *chosen, last, &error))
                continue;
        }
        err << "tolvane: "
            << (chosen ? tr("Could not open the link: %1").arg(error)
                       : tr("No default browser is set for https links."))
            << '\n';
        return failure;
    }
    return status;
}

int route(const QString& action, const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const auto usage = [&](const QString& message) {
        err << "tolvane: " << message << '\n';
        return usageError;
    };
    const auto needs = [&](qsizetype count) { return arguments.size() == count; };
    if ((action == QLatin1String("on") || action == QLatin1String("off")) && needs(0)) {
        const auto routing = platform::get<platform::LinkRouting>();
        if (routing->setOn(action == QLatin1String("on")) == platform::HandlerService::noErr)
            return success;
        err << "tolvane: " << tr("Could not turn link rules %1: %2").arg(action, routing->failureReason())
            << '\n';
        return failure;
    }
    if (action == QLatin1String("status") && needs(0)) {
        const auto state = platform::get<platform::LinkRouting>()->state();
        out << (state == platform::LinkRouting::State::on    ? "on"
                : state == platform::LinkRouting::State::off ? "off"
                                                             : "displaced")
            << '\n';
        return success;
    }
    LinkRulesFile file;
    if (action == QLatin1String("test") && needs(1)) {
        const std::optional<WebLink> url = WebLink::read(arguments[0]);
        if (!url)
            return usage(tr("\u201c%1\u201d is not a web link").arg(arguments[0]));
        if (!file.load())
            err << "tolvane: " << file.error() << '\n';
        const auto decision =
            decideLink(file.rules(), *url, chosenBrowser().value_or(QString()),
                       [](const QString& id) { return !browsersNamed(listedBrowsers(), id).isEmpty(); });
        out << decision.target << '\t'
            << (decision.rule ? QString::number(*decision.rule + 1) : QStringLiteral("default")) << '\n';
        return success;
    }
    if (action != QLatin1String("list") && action != QLatin1String("add") &&
        action != QLatin1String("remove"))
        return usage(tr("--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL"));
    if (!file.load()) {
        err << "tolvane: " << file.error() << '\n';
        return failure;
    }
    if (action == QLatin1String("list") && needs(0)) {
        const QList<LinkRule> rules = file.rules();
        for (qsizetype i = 0; i < rules.size(); ++i)
            out << i + 1 << '\t' << rules[i].pattern << '\t' << rules[i].target << '\n';
        return success;
    }
    if (action == QLatin1String("add") && needs(2)) {
        if (const auto problem = linkPatternProblem(arguments[0]))
            return usage(tr("\u201c%1\u201d: %2").arg(arguments[0], *problem));
        QString target = arguments[1];
        if (target != askTarget) {
            const auto browser = browserNamed(target, err);
            if (!browser)
                return usageError;
            target = browser->desktopId;
        }
        file.append(LinkRule{arguments[0], target});
    } else if (action == QLatin1String("remove") && needs(1)) {
        bool number = false;
        const int n = arguments[0].toInt(&number);
        if (!number || !file.remove(n - 1))
            return usage(tr("There is no rule %1.").arg(arguments[0]));
    } else {
        return usage(tr("--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL"));
    }
    if (!file.save()) {
        err << "tolvane: " << file.error() << '\n';
        return failure;
    }
    return success;
}

} // namespace Tolvane::cli
