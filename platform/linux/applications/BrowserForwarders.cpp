// SPDX-License-Identifier: GPL-3.0-or-later
// Which commands only pass a link on to the desktop's preferred browser.
#include "BrowserForwarders.h"

#include "DesktopEntryIndex.h"
#include "XfceHelpers.h"
#include "platform/linux/applications/profiles/ProfileEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>

namespace platform::linux_ {

BrowserForwarding browserForwarding(const QString& command) {
    const ExecCommandLine line(command);
    const auto program = line.program();
    if (!program)
        return BrowserForwarding::None;
    const QString name = QFileInfo(*program).fileName();
    static const QHash<QString, BrowserForwarding> always{
        // Opens everything with XFCE's preferred applications, links with its WebBrowser.
        {QStringLiteral("exo-open"), BrowserForwarding::XfcePreferred},
        {QStringLiteral("sensible-browser"), BrowserForwarding::Alternatives},
        {QStringLiteral("x-www-browser"), BrowserForwarding::Alternatives},
        {QStringLiteral("gnome-www-browser"), BrowserForwarding::Alternatives},
        {QStringLiteral("www-browser"), BrowserForwarding::Alternatives},
        {QStringLiteral("xdg-open"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("gvfs-open"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("gnome-open"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("kde-open"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("kde-open5"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("kde-open6"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("mimeopen"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("mimeo"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("run-mailcap"), BrowserForwarding::DesktopDefault},
        {QStringLiteral("see"), BrowserForwarding::DesktopDefault},
    };
    if (const auto it = always.constFind(name); it != always.constEnd())
        return *it;
    // Tools whose opening is one subcommand among others.
    static const QHash<QString, QSet<QString>> bySubcommand{
        {QStringLiteral("gio"), {QStringLiteral("open")}},
        {QStringLiteral("handlr"), {QStringLiteral("open")}},
        {QStringLiteral("kioclient"), {QStringLiteral("exec"), QStringLiteral("openURL")}},
        {QStringLiteral("kioclient5"), {QStringLiteral("exec"), QStringLiteral("openURL")}},
        {QStringLiteral("kioclient6"), {QStringLiteral("exec"), QStringLiteral("openURL")}},
        {QStringLiteral("kfmclient"), {QStringLiteral("exec"), QStringLiteral("openURL")}},
    };
    if (const auto it = bySubcommand.constFind(name); it != bySubcommand.constEnd())
        for (const QString& word : line.arguments())
            if (!word.startsWith('-'))
                return it->contains(word) ? BrowserForwarding::DesktopDefault : BrowserForwarding::None;
    return BrowserForwarding::None;
}

bool forwardsToPreferredBrowser(const DesktopEntry& entry) {
    const auto exec = entry.value(QStringLiteral("Exec"));
    return exec && browserForwarding(unescapeDesktopValue(*exec)) != BrowserForwarding::None;
}

bool runsTolvane(const QString& command) {
    const ExecCommandLine line(command);
    const auto program = line.program();
    if (!program)
        return false;
    const QString name = QFileInfo(*program).fileName();
    bool tolvane = name == QLatin1String("tolvane") || name == QLatin1String(routerScriptName);
    if (!tolvane && QCoreApplication::instance()) {
        // Renamed or bundled (an AppImage): the same file as the program running now.
        const QString found = program->contains('/') ? *program : QStandardPaths::findExecutable(*program);
        const QString file = found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
        const QString image = qEnvironmentVariable("APPIMAGE");
        tolvane = !file.isEmpty() &&
                  (file == QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath() ||
                   (!image.isEmpty() && file == QFileInfo(image).canonicalFilePath()));
    }
    return tolvane && !line.arguments().contains(QLatin1String(launchProfileOption));
}

bool runsTolvane(const DesktopEntry& entry) {
    const auto exec = entry.value(QStringLiteral("Exec"));
    return exec && runsTolvane(unescapeDesktopValue(*exec));
}

namespace {

// The file a command's program finally is (after PATH and symbolic links, such as alternatives).
QString programFile(const QString& command) {
    const auto program = ExecCommandLine(command).program();
    if (!program)
        return {};
    const QString found = program->contains('/') ? *program : QStandardPaths::findExecutable(*program);
    return found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
}

// The browser entry that runs the program of one of `commands`; one declaring web links first.
std::optional<QString> entryRunning(const QStringList& commands, const QList<InstalledEntry>& installed) {
    std::optional<QString> other;
    for (const QString& command : commands) {
        const QString file = programFile(command);
        if (file.isEmpty())
            continue;
        for (const InstalledEntry& e : installed) {
            const auto exec = e.entry->value(QStringLiteral("Exec"));
            if (!exec || forwardsToPreferredBrowser(*e.entry) ||
                programFile(unescapeDesktopValue(*exec)) != file)
                continue;
            if (e.entry->declares(QStringLiteral("x-scheme-handler/https")))
                return e.id;
            if (!other)
                other = e.id;
        }
    }
    return other;
}

std::optional<QString> xfceBrowser(const QList<InstalledEntry>& installed) {
    const auto name = xfcePreferredWebBrowser();
    if (!name)
        return std::nullopt;
    // As xdg-settings reads it: the helper's name is the browser's ID.
    const QString id = *name + QStringLiteral(".desktop");
    for (const InstalledEntry& e : installed)
        if (e.id == id)
            return forwardsToPreferredBrowser(*e.entry) ? std::nullopt : std::optional(id);
    // Else the entry that runs what the helper runs (XFCE's "firefox" helper runs firefox-esr).
    const auto path = xfceHelperPath(*name);
    const auto helper = path ? DesktopEntry::read(*path) : std::nullopt;
    return helper ? entryRunning(xfceHelperCommands(*helper), installed) : std::nullopt;
}

} // namespace

std::optional<QString> forwardedBrowser(BrowserForwarding how, const QList<InstalledEntry>& installed) {
    switch (how) {
    case BrowserForwarding::None:
        return std::nullopt;
    case BrowserForwarding::XfcePreferred:
        return xfceBrowser(installed);
    case BrowserForwarding::Alternatives:
        return entryRunning({QStringLiteral("x-www-browser")}, installed);
    case BrowserForwarding::DesktopDefault:
        // XFCE's xdg-open goes through exo-open; elsewhere the default is the forwarder itself.
        if (currentDesktops().contains(QStringLiteral("xfce")))
            return xfceBrowser(installed);
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace platform::linux_
