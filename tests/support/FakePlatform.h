// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Services.h"
#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeAlert.h"
#include "platform/fake/FakeBundleReader.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeHandlerService.h"
#include "platform/fake/FakeMainBundle.h"
#include "platform/fake/FakeNotifications.h"
#include "platform/fake/FakeScriptRunner.h"
#include "platform/fake/FakeWorkspace.h"

// Installs a fake of every core port for the life of the object.
struct FakePlatform {
    std::shared_ptr<platform::fake::FakeWorkspace> workspace =
        std::make_shared<platform::fake::FakeWorkspace>();
    std::shared_ptr<platform::fake::FakeBundleReader> bundles =
        std::make_shared<platform::fake::FakeBundleReader>();
    std::shared_ptr<platform::fake::FakeFileSystem> files =
        std::make_shared<platform::fake::FakeFileSystem>();
    std::shared_ptr<platform::fake::FakeHandlerService> handlers =
        std::make_shared<platform::fake::FakeHandlerService>();
    std::shared_ptr<platform::fake::FakeScriptRunner> scripts =
        std::make_shared<platform::fake::FakeScriptRunner>();
    std::shared_ptr<platform::fake::FakeAccessibility> accessibility =
        std::make_shared<platform::fake::FakeAccessibility>();
    std::shared_ptr<platform::fake::FakeAlert> alert = std::make_shared<platform::fake::FakeAlert>();
    std::shared_ptr<platform::fake::FakeMainBundle> mainBundle =
        std::make_shared<platform::fake::FakeMainBundle>();

    platform::Override<platform::Workspace> o1{workspace};
    platform::Override<platform::BundleReader> o2{bundles};
    platform::Override<platform::FileSystem> o3{files};
    platform::Override<platform::HandlerService> o4{handlers};
    platform::Override<platform::ScriptRunner> o5{scripts};
    platform::Override<platform::Accessibility> o6{accessibility};
    platform::Override<platform::Alert> o7{alert};
    std::shared_ptr<platform::fake::FakeNotifications> notifications =
        std::make_shared<platform::fake::FakeNotifications>();
    platform::Override<platform::MainBundle> o8{mainBundle};
    platform::Override<platform::Notifications> o9{notifications};

    // Adds an application the workspace reports for https, with the given info keys.
    QUrl addApp(const QString& path, const QString& identifier, QVariantMap info = {}) {
        const QUrl url = QUrl::fromLocalFile(path);
        workspace->applications << url;
        bundles->bundles.insert(url, platform::Bundle{identifier, info});
        return url;
    }
};
