// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkCommands.h"

#include "BrowserCommands.h"
#include "app/core/links/LinkDecision.h"
#include "app/core/links/LinkRouter.h"
#include "app/core/links/LinkRulesFile.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"
#include "platform/Notifications.h"
#include "platform/Services.h"
#include "platform/Workspace.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QUrl>

namespace Tolvane::cli {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::cli", text);
}

bool isWebLink(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

std::optional<QString> chosenBrowser() {
    return platform::get<platform::HandlerService>()->defaultHandlerForURLScheme(QStringLiteral("https"));
}

// The token of the click that led here, for the picker's window: GLib before 2.76 passes it as the
// start-up id alone.
QString activationToken() {
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return token.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : token;
}

// Asks the running Tolvane (the bus starts it when none runs) to show the picker for `links`; true
// once it holds them.
bool ask(const QStringList& links) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("app.tolvane.Tolvane"), QStringLiteral("/app/tolvane/Tolvane"),
        QStringLiteral("app.tolvane.Tolvane.Links1"), QStringLiteral("Ask"));
    call << links << activationToken();
    // Long enough for the bus to start Tolvane on a busy machine.
    return bus.call(call, QDBus::Block, 25000).type() == QDBusMessage::ReplyMessage;
}

} // namespace

int openLinks(const QStringList& urls, QTextStream& err) {
    const auto workspace = platform::get<platform::Workspace>();
    links::LinkRouter router({
        [&](const QStringList& batch, const QString& id, bool last, QString* error) {
            err.flush();
            return workspace->openURLsWithBundleIdentifier(batch, id, last, error);
        },
        ask,
        [&](const QString& line) {
            // Out before anything else happens: the next step may replace this process.
            err << "tolvane: " << line << '\n';
            err.flush();
        },
        [](const QString& summary, const QString& body) {
            return platform::has<platform::Notifications>() &&
                   platform::get<platform::Notifications>()->notify(summary, body);
        },
    });
    switch (router.route(urls)) {
    case links::LinkRouter::Result::opened:
        return success;
    case links::LinkRouter::Result::someRefused:
        return usageError;
    case links::LinkRouter::Result::failed:
        break;
    }
    return failure;
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
        const QUrl url(arguments[0]);
        if (!isWebLink(url))
            return usage(tr("\u201c%1\u201d is not a web link").arg(arguments[0]));
        if (!file.load())
            err << "tolvane: " << file.error() << '\n';
        const auto decision =
            decideLink(file.rules(), url, chosenBrowser().value_or(QString()),
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
        QString error;
        if (!LinkRulesFile::update(
                [&](LinkRulesFile& now) {
                    now.append(LinkRule{arguments[0], target});
                    return true;
                },
                &error)) {
            err << "tolvane: " << error << '\n';
            return failure;
        }
        return success;
    }
    if (action == QLatin1String("remove") && needs(1)) {
        bool number = false;
        const int n = arguments[0].toInt(&number);
        bool missing = false;
        QString error;
        const bool done = number && LinkRulesFile::update(
                                        [&](LinkRulesFile& now) {
                                            missing = !now.remove(n - 1);
                                            return !missing;
                                        },
                                        &error);
        if (!number || missing)
            return usage(tr("There is no rule %1.").arg(arguments[0]));
        if (!done) {
            err << "tolvane: " << error << '\n';
            return failure;
        }
        return success;
    }
    return usage(tr("--route takes on, off, status, list, add PATTERN BROWSER, remove N or test URL"));
}

} // namespace Tolvane::cli
