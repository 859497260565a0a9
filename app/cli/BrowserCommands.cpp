// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserCommands.h"

#include "LaunchServices.h"
#include "SettingsStore.h"
#include "app/core/ListedBrowsers.h"
#include "platform/HandlerService.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Tolvane::cli {
namespace {

std::optional<QString> currentDefault() {
    return platform::get<platform::HandlerService>()->defaultHandlerForURLScheme(QStringLiteral("https"));
}

// One record a line, tab-separated: a newline or tab inside a file name or a Name= value must not
// forge another record or field.
QString field(const QString& text) {
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        if (c == '\n')
            safe += QLatin1String("\\n");
        else if (c == '\t')
            safe += QLatin1String("\\t");
        else if (c == '\r')
            safe += QLatin1String("\\r");
        else if (c.category() == QChar::Other_Control)
            safe += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}

void printCandidates(const QList<ListedBrowser>& browsers, QTextStream& err) {
    for (const ListedBrowser& listed : browsers)
        err << "  " << field(listed.desktopId) << '\t' << field(listed.browser.appName) << '\n';
}

} // namespace

int listBrowsers(bool json, QTextStream& out) {
    const QList<ListedBrowser> browsers = listedBrowsers();
    if (!json) {
        for (const ListedBrowser& listed : browsers)
            out << field(listed.desktopId) << '\t' << field(listed.browser.appName) << '\t'
                << field(listed.browser.appVersion) << '\n';
        return success;
    }
    const QString now = currentDefault().value_or(QString());
    QJsonArray array;
    for (const ListedBrowser& listed : browsers)
        array.append(QJsonObject{{"id", listed.browser.id()},
                                 {"desktopId", listed.desktopId},
                                 {"name", listed.browser.appName},
                                 {"version", listed.browser.appVersion},
                                 {"isDefault", listed.desktopId == now}});
    out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    return success;
}

int printDefaultBrowser(QTextStream& out, QTextStream& err) {
    const auto now = currentDefault();
    // A list that could not be read (a named pipe in its place, say) was passed over: say which.
    const QString skipped = platform::get<platform::HandlerService>()->failureReason();
    if (!skipped.isEmpty())
        err << "tolvane: " << skipped << '\n';
    if (!now) {
        err << "tolvane: "
            << QCoreApplication::translate("Tolvane::cli", "No default browser is set for https links.")
            << '\n';
        return failure;
    }
    out << *now << '\n';
    return success;
}

std::optional<ListedBrowser> browserNamed(const QString& wanted, QTextStream& err) {
    const QList<ListedBrowser> browsers = listedBrowsers();
    const QList<ListedBrowser> named = browsersNamed(browsers, wanted);
    if (named.isEmpty()) {
        err << "tolvane: "
            << QCoreApplication::translate(
                   "Tolvane::cli", "No installed browser is called \u201c%1\u201d. Installed browsers:")
                   .arg(wanted)
            << '\n';
        printCandidates(browsers, err);
        return std::nullopt;
    }
    if (named.size() > 1) {
        err << "tolvane: "
            << QCoreApplication::translate(
                   "Tolvane::cli",
                   "\u201c%1\u201d names several browsers; use one of their desktop file IDs:")
                   .arg(wanted)
            << '\n';
        printCandidates(named, err);
        return std::nullopt;
    }
    return named.first();
}

int setDefaultBrowser(const QString& wanted, QTextStream& err) {
    const auto chosen = browserNamed(wanted, err);
    if (!chosen)
        return usageError;
    const QList<ListedBrowser> named{*chosen};
    // What the automation service does: an unreadable settings file stops the switch there too.
    const std::optional<bool> autoConfirm =
        SettingsStore::readableBoolForKey(SettingsStore::autoConfirmChange);
    if (!autoConfirm) {
        err << "tolvane: "
            << QCoreApplication::translate("Tolvane::cli",
                                           "Could not make %1 the default browser: the settings file %2 "
                                           "cannot be read.")
                   .arg(named.first().browser.appName, SettingsStore::filePath())
            << '\n';
        return failure;
    }
    try {
        named.first().browser.setAsDefault(*autoConfirm);
    } catch (const LaunchServices::Error& error) {
        // The notification's words, which speak the user's language.
        const QString sentence = QCoreApplication::translate("Tolvane::SwitchFailureNotice",
                                                             "Could not make %1 the default browser")
                                     .arg(named.first().browser.appName);
        //: A failure and its reason; French puts a space before the colon.
        err << "tolvane: "
            << QCoreApplication::translate("Tolvane::cli", "%1: %2").arg(sentence, error.reason()) << '\n';
        return failure;
    }
    return success;
}

} // namespace Tolvane::cli
