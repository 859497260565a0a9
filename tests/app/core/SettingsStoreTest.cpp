// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"
#include "support/TempXdg.h"

#include <QFile>
#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

using namespace Tolvane;

TEST(SettingsStore, DefaultsWhenNothingIsStored) {
    TempXdg xdg;
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::autoConfirmChange));
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::showBrowserVersion));
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::toggleBrowser));
    EXPECT_FALSE(SettingsStore::stringForKey(SettingsStore::toggleBrowserId).has_value());
    EXPECT_FALSE(QFile::exists(SettingsStore::filePath())) << "reading writes nothing";
}

TEST(SettingsStore, WritesAreSeenByTheNextReadAnywhereAndLandInTheSuiteFile) {
    TempXdg xdg;
    ASSERT_TRUE(SettingsStore::setBool(SettingsStore::autoConfirmChange, true));
    ASSERT_TRUE(SettingsStore::setString(SettingsStore::toggleBrowserId, "org.x:1 2:file:///a b/x.desktop"));
    EXPECT_EQ(SettingsStore::filePath(), xdg.configHome() + "/tolvane/group.tolva.conf");

    bool fromThread = false;
    std::optional<QString> idFromThread;
    QThread* worker = QThread::create([&] {
        fromThread = SettingsStore::boolForKey(SettingsStore::autoConfirmChange);
        idFromThread = SettingsStore::stringForKey(SettingsStore::toggleBrowserId);
    });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_TRUE(fromThread);
    EXPECT_EQ(idFromThread, "org.x:1 2:file:///a b/x.desktop");

    // Another reader of the same file sees the typed values.
    QSettings independent(SettingsStore::filePath(), QSettings::IniFormat);
    EXPECT_EQ(independent.value("settings.autoConfirmChange").toString(), "true");
    ASSERT_TRUE(SettingsStore::setString(SettingsStore::toggleBrowserId, ""));
    EXPECT_EQ(SettingsStore::stringForKey(SettingsStore::toggleBrowserId), QString(""))
        << "an empty identifier is present, not absent";
}

TEST(SettingsStore, CorruptOrUnreachableFileReadsAsDefaults) {
    TempXdg xdg;
    xdg.writeFile(SettingsStore::filePath(),
                  QByteArray("\xff\xfe[[[settings.autoConfirmChange\n=\x01\x02", 30));
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::autoConfirmChange));
    EXPECT_FALSE(SettingsStore::stringForKey(SettingsStore::toggleBrowserId).has_value());

    // A config home that runs through a regular file cannot be written: the write says so.
    xdg.writeFile(xdg.home() + "/plainfile", "x");
    qputenv("XDG_CONFIG_HOME", (xdg.home() + "/plainfile/config").toUtf8());
    EXPECT_FALSE(SettingsStore::setBool(SettingsStore::autoConfirmChange, true));
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::autoConfirmChange));
}
