// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Notifier.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/Testing.h"
#include "platform/Services.h"
#include "platform/fake/FakeHotKeyEvents.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/FakeSymbolicHotKeys.h"
#include "support/TempXdg.h"

#include <QCoreApplication>
#include <QSettings>

#include <gtest/gtest.h>

// The registry installs its event handler once per process, so every test shares one fake hot-key
// service; storage, layout and desktop bindings are fresh for each test.
class GlobalKeysTest : public ::testing::Test {
protected:
    static std::shared_ptr<platform::fake::FakeHotKeyEvents> sharedHotKeys() {
        static auto fake = std::make_shared<platform::fake::FakeHotKeyEvents>();
        return fake;
    }

    std::shared_ptr<platform::fake::FakeHotKeyEvents> hotKeys = sharedHotKeys();
    std::shared_ptr<platform::fake::FakeKeyboardLayout> layout =
        std::make_shared<platform::fake::FakeKeyboardLayout>();
    std::shared_ptr<platform::fake::FakeSymbolicHotKeys> symbolic =
        std::make_shared<platform::fake::FakeSymbolicHotKeys>();
    TempXdg xdg;
    platform::Override<platform::KeyboardLayout> layoutGuard{layout};
    platform::Override<platform::SymbolicHotKeys> symbolicGuard{symbolic};
    QStringList posted; // names announced as changed
    QMetaObject::Connection postedConnection;

    void SetUp() override {
        GlobalKeys::setUserDefaultsFile([path = confPath()] { return path; });
        platform::install<platform::HotKeyEvents>(hotKeys);
        GlobalKeys::testing::resetState();
        hotKeys->refused.clear();
        hotKeys->usesEventMonitor = true;
        hotKeys->registerCalls.clear();
        hotKeys->unregisterCalls.clear();
        layout->characters = platform::fake::FakeKeyboardLayout::usLetters();
        postedConnection =
            QObject::connect(&GlobalKeys::notifier(), &GlobalKeys::Notifier::shortcutByNameDidChange,
                             [this](const GlobalKeys::Name& name) { posted << name.rawValue; });
    }
    void TearDown() override {
        QObject::disconnect(postedConnection);
        GlobalKeys::testing::resetState();
        GlobalKeys::setUserDefaultsFile({});
    }

    QString confPath() const { return xdg.configHome() + "/tolvane/tolvane.conf"; }
    QVariant stored(const QString& name) const {
        return QSettings(confPath(), QSettings::IniFormat).value("GlobalKeys_" + name);
    }
    bool hasEntry(const QString& name) const {
        return QSettings(confPath(), QSettings::IniFormat).contains("GlobalKeys_" + name);
    }
    void store(const QString& name, const QVariant& value) const {
        QSettings(confPath(), QSettings::IniFormat).setValue("GlobalKeys_" + name, value);
    }
    bool isRegistered(std::uint32_t keyCode, std::uint32_t modifiers) const {
        return hotKeys->registrationFor(keyCode, modifiers).has_value();
    }

public:
    // Runs queued main-thread work (stream bookkeeping, menu updates).
    static void drainMainQueue() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};
