// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "BrowserCommands.h"
#include "Launch.h"
#include "LinkCommands.h"
#include "platform/MainBundle.h"
#include "platform/Services.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Tolvane::cli {
namespace {

// Every option any start understands; the help text (and the man page made from it) comes from here.
struct Options {
    QCommandLineParser parser;
    QCommandLineOption list{
        QStringLiteral("list"),
        QCoreApplication::translate("Tolvane::cli", "List the installed browsers, one per line: "
                                                    "desktop file ID, name and version, separated by tabs.")};
    QCommandLineOption json{
        QStringLiteral("json"),
        QCoreApplication::translate("Tolvane::cli",
                                    "With --list: print one JSON array of objects with id, desktopId, "
                                    "name, version and isDefault.")};
    QCommandLineOption get{
        QStringLiteral("get"),
        QCoreApplication::translate("Tolvane::cli",
                                    "Print the desktop file ID of the default browser for https links.")};
    QCommandLineOption set{
        QStringLiteral("set"),
        QCoreApplication::translate("Tolvane::cli",
                                    "Make BROWSER the default browser. BROWSER is an automation id, a "
                                    "desktop file ID (with or without .desktop) or the name of one "
                                    "listed browser."),
        QStringLiteral("BROWSER")};
    QCommandLineOption route{
        QStringLiteral("route"),
        QCoreApplication::translate(
            "Tolvane::cli",
            "Links by rules: 'on' makes Tolvane open each web link in the browser its first matching rule "
            "names (the default browser for the rest), 'off' gives links back to the default browser; "
            "'status', 'list' (number, pattern, browser), 'add PATTERN BROWSER' (BROWSER as --set takes it, "
            "or 'ask'), 'remove N', 'test URL' (the desktop file ID it goes to and the rule's number, or "
            "'default')."),
        QStringLiteral("ACTION")};
    QCommandLineOption open{
        QStringLiteral("open"),
        QCoreApplication::translate("Tolvane::cli", "Open the URLs that follow as the link rules say.")};
    QCommandLineOption service{QStringLiteral("service"),
                               QStringLiteral("Serve automation on the session bus only, without a tray.")};
    QCommandLineOption autostart{QStringLiteral("autostart"), QStringLiteral("Started at login.")};

    Options() {
        parser.setApplicationDescription(QCoreApplication::translate(
            "Tolvane::cli", "Tolvane lists the installed web browsers and makes one of them the default.\n"
                            "Without options it starts in the tray. The options below do their work\n"
                            "and exit; they need no display and no running Tolvane.\n"
                            "Exit status: 0 done, 1 failed (reason on standard error), 2 usage error\n"
                            "or a BROWSER that names no browser or several."));
        parser.addHelpOption();
        parser.addVersionOption();
        service.setFlags(QCommandLineOption::HiddenFromHelp);
        autostart.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOptions({list, json, get, set, route, open, service, autostart});
        parser.addPositionalArgument(
            QStringLiteral("URL"),
            QCoreApplication::translate("Tolvane::cli", "With --open: the links to open."),
            QStringLiteral("[URL...]"));
    }
};

int usage(const QString& message) {
    QTextStream err(stderr);
    err << QCoreApplication::applicationName() << ": " << message << "\n"
        << QCoreApplication::translate("Tolvane::cli", "Try '%1 --help' for more information.")
               .arg(QCoreApplication::applicationName())
        << "\n";
    return usageError;
}

void useBundleVersion() {
    const auto bundle = platform::get<platform::MainBundle>();
    QCoreApplication::setApplicationVersion(
        bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString());
}

} // namespace

std::optional<int> rejectUnexpectedArguments(const QStringList& arguments) {
    Options options;
    if (!options.parser.parse(arguments))
        return usage(options.parser.errorText());
    if (!options.parser.positionalArguments().isEmpty())
        return usage(QCoreApplication::translate("Tolvane::cli", "unexpected argument \u201c%1\u201d")
                         .arg(options.parser.positionalArguments().first()));
    return std::nullopt;
}

int runCommand(const QStringList& arguments) {
    useBundleVersion();
    Options options;
    QCommandLineParser& parser = options.parser;
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // The usage line names the program as people type it, not the path it was started by.
        // (Qt's own words around it may be translated.)
        QString help = parser.helpText();
        const QString started = QCoreApplication::arguments().value(0);
        if (const qsizetype at = help.indexOf(started);
            !started.isEmpty() && at >= 0 && at < help.indexOf('\n'))
            help.replace(at, started.size(), QCoreApplication::applicationName());
        out << help;
        return success;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return success;
    }
    const int requests = int(parser.isSet(options.list)) + int(parser.isSet(options.get)) +
                         int(parser.isSet(options.set)) + int(parser.isSet(options.route)) +
                         int(parser.isSet(options.open));
    if (requests == 1 && parser.isSet(options.open))
        return openLinks(parser.positionalArguments(), err);
    // Links alone, as an opener that keeps only a handler's program passes them.
    const QStringList words = parser.positionalArguments();
    if (requests == 0 && !parser.isSet(options.json) && !words.isEmpty() &&
        std::all_of(words.begin(), words.end(),
                    [](const QString& word) { return isBareWebLink(word.toLocal8Bit().constData()); }))
        return openLinks(words, err);
    if (requests == 1 && parser.isSet(options.route))
        return route(parser.value(options.route), parser.positionalArguments(), out, err);
    if (!parser.positionalArguments().isEmpty())
        return usage(QCoreApplication::translate("Tolvane::cli", "unexpected argument \u201c%1\u201d")
                         .arg(parser.positionalArguments().first()));
    if (requests != 1)
        return usage(requests
                         ? QCoreApplication::translate(
                               "Tolvane::cli", "--list, --get, --set, --route and --open go one at a time")
                         : QCoreApplication::translate("Tolvane::cli", "--json goes with --list"));
    if (parser.isSet(options.json) && !parser.isSet(options.list))
        return usage(QCoreApplication::translate("Tolvane::cli", "--json goes with --list"));
    if (parser.isSet(options.set) && parser.value(options.set).trimmed().isEmpty())
        return usage(QCoreApplication::translate("Tolvane::cli", "--set needs a browser"));
    if (parser.isSet(options.list))
        return listBrowsers(parser.isSet(options.json), out);
    if (parser.isSet(options.get))
        return printDefaultBrowser(out, err);
    return setDefaultBrowser(parser.value(options.set), err);
}

} // namespace Tolvane::cli
