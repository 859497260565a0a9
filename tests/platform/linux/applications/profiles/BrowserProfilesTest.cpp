// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/applications/profiles/ProfileHomes.h"
#include "platform/linux/applications/profiles/ProfileLists.h"
#include "platform/linux/xdg/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform::linux_;

namespace {

QStringList names(const ProfileList& list) {
    QStringList out;
    for (const FoundProfile& p : list.profiles)
        out << p.key + '=' + p.name;
    return out;
}

// What firefox-esr 153 writes on a new home's first start: its own profile and a spare "default".
const QByteArray firefoxFirstStart =
    "[Profile1]\nName=default\nIsRelative=1\nPath=gyg167as.default\nDefault=1\n\n"
    "[Profile0]\nName=default-esr\nIsRelative=1\nPath=4vtr17iq.default-esr\n\n"
    "[General]\nStartWithLastProfile=1\nVersion=2\n\n"
    "[Install3B6073811A6ABF12]\nDefault=4vtr17iq.default-esr\nLocked=1\n";

} // namespace

TEST(ProfileLists, TheShapesBrowsersWriteAndFilesThatAreNoList) {
    const QString ff = "/h/.mozilla/firefox";
    EXPECT_EQ(names(readFirefoxProfiles(firefoxFirstStart, ff)),
              QStringList{"/h/.mozilla/firefox/4vtr17iq.default-esr=default-esr"});
    // Profiles are their folders: two of one name are two choices.
    const QByteArray withWork = "[Profile2]\nName=Work Stuff\nIsRelative=0\nPath=/data/w\n\n"
                                "[Profile3]\nName=default-esr\nPath=../x\n\n" +
                                firefoxFirstStart;
    EXPECT_EQ(names(readFirefoxProfiles(withWork, ff)),
              (QStringList{"/h/.mozilla/x=default-esr",
                           "/h/.mozilla/firefox/4vtr17iq.default-esr=default-esr", "/data/w=Work Stuff"}));
    // Before dedicated profiles there was no [Install] section: "default" is the one in use.
    EXPECT_EQ(names(readFirefoxProfiles(
                  "[Profile0]\nName=default\nPath=x.default\n[Profile1]\nName=b\nPath=y.b\n", ff)),
              (QStringList{"/h/.mozilla/firefox/y.b=b", "/h/.mozilla/firefox/x.default=default"}));

    const QByteArray localState =
        R"({"browser":{"x":1},"profile":{"info_cache":{"Default":{"name":"Person 1","active_time":1.5},
        "Profile 3":{"name":"Kunde \"Ä\"; $x %u\nzwei"},"Guest Profile":{"name":"Guest"},
        "../escape":{"name":"no"}},"last_used":"Default"}})";
    EXPECT_EQ(names(readChromiumProfiles(localState)),
              (QStringList{"Profile 3=Kunde \"Ä\"; $x %u\nzwei", "Default=Person 1"}));

    for (const QByteArray& broken :
         {QByteArray("{\"profile\":"), QByteArray("[1,2]"), QByteArray("{\"profile\":{}}"),
          QByteArray("{\"profile\":{\"info_cache\":[]}}")}) {
        const ProfileList list = readChromiumProfiles(broken);
        EXPECT_TRUE(list.profiles.isEmpty()) << broken.constData();
        EXPECT_FALSE(list.problem.isEmpty()) << broken.constData();
    }
    for (const QByteArray& broken : {QByteArray("\xff\xfe[Profile0]\nName=a\nPath=a\n"),
                                     QByteArray("[Profile0]\nName=a\nPath=a\n<<<<<<< HEAD\n")}) {
        const ProfileList list = readFirefoxProfiles(broken, "/h");
        EXPECT_TRUE(list.profiles.isEmpty());
        EXPECT_FALSE(list.problem.isEmpty());
    }
}

TEST(ProfileHomes, EachInstallationFindsItsOwnList) {
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/cfg"));
    const auto sourceOf = [](const QByteArray& exec) -> QString {
        const auto entry = DesktopEntry::parse("[Desktop Entry]\nType=Application\nExec=" + exec + "\n");
        const auto source = profileSourceOf(*entry);
        if (!source)
            return "none";
        return (source->family == ProfileFamily::Firefox ? "firefox " : "chromium ") +
               QString(source->file).replace(QDir::homePath(), "~");
    };
    const QList<std::pair<QByteArray, QString>> cases{
        {"/usr/lib/firefox-esr/firefox-esr %u", "firefox ~/cfg/mozilla/firefox/profiles.ini"},
        {"firejail --noprofile firefox %u", "firefox ~/cfg/mozilla/firefox/profiles.ini"},
        {"/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=firefox --file-forwarding "
         "org.mozilla.firefox @@u %u @@",
         "firefox ~/.var/app/org.mozilla.firefox/config/mozilla/firefox/profiles.ini"},
        {"env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/chromium_chromium.desktop "
         "/snap/bin/chromium %U",
         "chromium ~/snap/chromium/common/chromium/Local State"},
        {"/usr/bin/flatpak run --branch=stable --command=brave com.brave.Browser @@u %U @@",
         "chromium ~/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser/Local State"},
        {"/usr/bin/google-chrome-stable %U", "chromium ~/cfg/google-chrome/Local State"},
        {"chromium --user-data-dir=/srv/c %U", "chromium /srv/c/Local State"},
        // A command that already names a profile has its own; an unknown browser has none.
        {"firefox -P Work %u", "none"},
        {"chromium --profile-directory=Default %U", "none"},
        {"/opt/otherbrowser/run %u", "none"},
    };
    for (const auto& [exec, expected] : cases)
        EXPECT_EQ(sourceOf(exec), expected) << exec.constData();
    // Firefox keeps the old folder where a list is there already.
    QDir().mkpath(home.path() + "/.mozilla/firefox");
    QFile ini(home.path() + "/.mozilla/firefox/profiles.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    EXPECT_EQ(sourceOf("firefox %u"), "firefox ~/.mozilla/firefox/profiles.ini");
}
