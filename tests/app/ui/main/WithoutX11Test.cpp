// SPDX-License-Identifier: GPL-3.0-or-later
// The real adapters on a machine without X11 (this program runs on Qt's offscreen platform) and
// without the GlobalShortcuts portal: hot keys fail plainly, key names still come from the layout.
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/Testing.h"
#include "app/ui/main/Adapters.h"
#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"
#include "platform/Services.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>

namespace {
QStringList warnings;
void collect(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && QByteArray(context.category).startsWith("GlobalKeys"))
        warnings << message;
}
} // namespace

TEST(WithoutX11, RegistrationFailsWithOneLogLineAndKeysKeepTheirNames) {
    using namespace GlobalKeys;
    TempXdg xdg;
    qputenv("XKB_DEFAULT_LAYOUT", "us");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + xdg.home().toUtf8() + "/no-bus"); // no portal either
    Tolvane::adapters::installGlobalKeysAdapters();
    const auto previous = qInstallMessageHandler(collect);
    const Name name("toggleSystemBrowserKeys");
    int ups = 0;
    addKeyUpHandler(name, [&] { ++ups; });
    setShortcut(Shortcut(Key::z, Qt::ControlModifier | Qt::AltModifier), name);
    setShortcut(Shortcut(Key::x, Qt::ControlModifier | Qt::AltModifier), name);
    const auto text = Shortcut(Key::z, Qt::ControlModifier).description();
    qInstallMessageHandler(previous);

    EXPECT_EQ(getShortcut(name), Shortcut(Key::x, Qt::ControlModifier | Qt::AltModifier));
    EXPECT_TRUE(CarbonGlobalKeys::hotKeys().empty());
    EXPECT_EQ(text, QString::fromUtf8("⌃Z")) << "the layout's letter, not a replacement character";
    ASSERT_EQ(warnings.size(), 1) << warnings.join("\n").toStdString();
    EXPECT_TRUE(warnings.first().contains("offscreen")) << warnings.first().toStdString();
    EXPECT_FALSE(platform::get<platform::HotKeyStatus>()->canDeliverGlobalHotKeys());
    GlobalKeys::testing::resetState();
}
