// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileHomes.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"

#include <QFileInfo>

namespace platform::linux_ {
namespace {

// One kind of installation of one browser: how its command is recognised and where it keeps its
// profile list, below the home folder ('~') or the configuration home ('$').
struct Home {
    ProfileFamily family;
    QStringList programs; // program file names, "snap:<name>" or "flatpak:<app id>"
    QStringList folders;  // the first whose list exists wins; else the last
};

const QList<Home>& homes() {
    static const QList<Home> table{
        // Firefox keeps using the old folder where a profile list is there, else the new one.
        {ProfileFamily::Firefox,
         {"firefox", "firefox-esr", "firefox-bin", "firefox-beta", "firefox-nightly", "firefox-devedition",
          "firefox-developer-edition"},
         {"~/.mozilla/firefox", "$/mozilla/firefox"}},
        {ProfileFamily::Firefox, {"snap:firefox"}, {"~/snap/firefox/common/.mozilla/firefox"}},
        {ProfileFamily::Firefox,
         {"flatpak:org.mozilla.firefox"},
         {"~/.var/app/org.mozilla.firefox/.mozilla/firefox",
          "~/.var/app/org.mozilla.firefox/config/mozilla/firefox"}},
        {ProfileFamily::Firefox, {"librewolf"}, {"~/.librewolf"}},
        {ProfileFamily::Firefox,
         {"flatpak:io.gitlab.librewolf-community"},
         {"~/.var/app/io.gitlab.librewolf-community/.librewolf"}},
        {ProfileFamily::Chromium, {"chromium", "chromium-browser"}, {"$/chromium"}},
        {ProfileFamily::Chromium, {"snap:chromium"}, {"~/snap/chromium/common/chromium"}},
        {ProfileFamily::Chromium,
         {"flatpak:org.chromium.Chromium"},
         {"~/.var/app/org.chromium.Chromium/config/chromium"}},
        {ProfileFamily::Chromium, {"google-chrome", "google-chrome-stable", "chrome"}, {"$/google-chrome"}},
        {ProfileFamily::Chromium, {"google-chrome-beta"}, {"$/google-chrome-beta"}},
        {ProfileFamily::Chromium, {"google-chrome-unstable"}, {"$/google-chrome-unstable"}},
        {ProfileFamily::Chromium,
         {"flatpak:com.google.Chrome"},
         {"~/.var/app/com.google.Chrome/config/google-chrome"}},
        {ProfileFamily::Chromium,
         {"brave-browser", "brave-browser-stable", "brave"},
         {"$/BraveSoftware/Brave-Browser"}},
        {ProfileFamily::Chromium,
         {"snap:brave"},
         {"~/snap/brave/current/.config/BraveSoftware/Brave-Browser"}},
        {ProfileFamily::Chromium,
         {"flatpak:com.brave.Browser"},
         {"~/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"}},
        {ProfileFamily::Chromium, {"vivaldi", "vivaldi-stable"}, {"$/vivaldi"}},
        {ProfileFamily::Chromium,
         {"flatpak:com.vivaldi.Vivaldi"},
         {"~/.var/app/com.vivaldi.Vivaldi/config/vivaldi"}},
        {ProfileFamily::Chromium,
         {"microsoft-edge", "microsoft-edge-stable", "msedge"},
         {"$/microsoft-edge"}},
        {ProfileFamily::Chromium, {"microsoft-edge-beta"}, {"$/microsoft-edge-beta"}},
        {ProfileFamily::Chromium,
         {"flatpak:com.microsoft.Edge"},
         {"~/.var/app/com.microsoft.Edge/config/microsoft-edge"}},
    };
    return table;
}

QString listFile(ProfileFamily family, const QString& folder) {
    return folder + (family == ProfileFamily::Firefox ? QStringLiteral("/profiles.ini")
                                                      : QStringLiteral("/Local State"));
}

QString expand(const QString& folder) {
    if (folder.startsWith('~'))
        return platform::homeDir() + folder.mid(1);
    return platform::configHome() + folder.mid(1);
}

// "flatpak:<app id>" for `flatpak run [options] <app id> ...`, "snap:<name>" for /snap/bin/<name>,
// else the program's file name.
QString programKey(const QString& program, const QStringList& arguments) {
    const QString name = QFileInfo(program).fileName();
    if (program.startsWith(QLatin1String("/snap/bin/")))
        return QStringLiteral("snap:") + name;
    if (name == QLatin1String("flatpak")) {
        const qsizetype run = arguments.indexOf(QStringLiteral("run"));
        for (qsizetype i = run + 1; run >= 0 && i < arguments.size(); ++i)
            if (!arguments[i].startsWith('-'))
                return QStringLiteral("flatpak:") + arguments[i];
        return {};
    }
    return name;
}

bool picksProfile(ProfileFamily family, const QStringList& arguments) {
    for (const QString& a : arguments) {
        if (family == ProfileFamily::Firefox &&
            (a == QLatin1String("-P") || a == QLatin1String("-p") || a == QLatin1String("-profile") ||
             a == QLatin1String("--profile") || a == QLatin1String("-no-remote")))
            return true;
        if (family == ProfileFamily::Chromium && a.startsWith(QLatin1String("--profile-directory")))
            return true;
    }
    return false;
}

} // namespace

std::optional<ProfileSource> profileSourceOf(const DesktopEntry& entry) {
    const auto exec = entry.value(QStringLiteral("Exec"));
    if (!exec)
        return std::nullopt;
    const ExecCommandLine command(unescapeDesktopValue(*exec));
    const auto program = command.program();
    if (!program)
        return std::nullopt;
    const QStringList arguments = command.arguments();
    const QString key = programKey(*program, arguments);
    for (const Home& home : homes()) {
        if (!home.programs.contains(key))
            continue;
        if (picksProfile(home.family, arguments))
            return std::nullopt;
        // A Chromium started with a data folder of its own keeps its profiles there.
        if (home.family == ProfileFamily::Chromium)
            for (const QString& a : arguments)
                if (a.startsWith(QLatin1String("--user-data-dir=")))
                    return ProfileSource{home.family, listFile(home.family, a.section('=', 1))};
        QString file;
        for (const QString& folder : home.folders) {
            file = listFile(home.family, expand(folder));
            if (QFileInfo::exists(file))
                break;
        }
        return ProfileSource{home.family, file};
    }
    return std::nullopt;
}

QStringList knownProfileFiles() {
    QStringList files;
    for (const Home& home : homes())
        for (const QString& folder : home.folders)
            files << listFile(home.family, expand(folder));
    files.removeDuplicates();
    return files;
}

} // namespace platform::linux_
