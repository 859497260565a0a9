// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/hotkeys/bindings/DesktopKeyBindings.h"
#include "support/TempXdg.h"

// GIO names a struct member after one of Qt's keywords.
#undef signals
#include <gio/gio.h>

#include <gtest/gtest.h>

#include <set>

using platform::SymbolicHotKey;
using platform::linux_::DesktopKeyBindings;

namespace {

std::pair<qlonglong, qlonglong> parts(const std::optional<SymbolicHotKey>& entry) {
    if (!entry)
        return {-1, -1};
    EXPECT_EQ(entry->enabled, QVariant(true));
    return {entry->code.toLongLong(), entry->modifiers.toLongLong()};
}

std::set<std::pair<qlonglong, qlonglong>> all(const std::vector<SymbolicHotKey>& entries) {
    std::set<std::pair<qlonglong, qlonglong>> result;
    for (const auto& e : entries)
        result.insert(parts(e));
    return result;
}

} // namespace

TEST(DesktopKeyBindings, GnomeAcceleratorsBecomeCarbonShortcuts) {
    using P = std::pair<qlonglong, qlonglong>;
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("<Super>Left")), P(123, 0x100));
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("<Primary><Alt>t")), P(17, 0x1800));
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("<Control><Shift>T")), P(17, 0x1200));
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("<Shift><Super>Page_Down")), P(121, 0x300));
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("<Alt>F4")), P(118, 0x800));
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("<Super>space")), P(49, 0x100));
    EXPECT_EQ(parts(DesktopKeyBindings::parseGnomeAccelerator("Print")), P(-1, -1)); // no Carbon key
    EXPECT_FALSE(DesktopKeyBindings::parseGnomeAccelerator(""));
    EXPECT_FALSE(DesktopKeyBindings::parseGnomeAccelerator("disabled"));
    EXPECT_FALSE(DesktopKeyBindings::parseGnomeAccelerator("<Hyper>a"));
    EXPECT_FALSE(DesktopKeyBindings::parseGnomeAccelerator("<Super"));
}

TEST(DesktopKeyBindings, KdeShortcutsBecomeCarbonShortcuts) {
    using P = std::pair<qlonglong, qlonglong>;
    EXPECT_EQ(parts(DesktopKeyBindings::parseKdeShortcut("Meta+E")), P(14, 0x100));
    EXPECT_EQ(parts(DesktopKeyBindings::parseKdeShortcut("Ctrl+Alt+T")), P(17, 0x1800));
    EXPECT_EQ(parts(DesktopKeyBindings::parseKdeShortcut("Meta+Shift+PgDown")), P(121, 0x300));
    EXPECT_EQ(parts(DesktopKeyBindings::parseKdeShortcut("Alt+F4")), P(118, 0x800));
    EXPECT_EQ(parts(DesktopKeyBindings::parseKdeShortcut("Meta+1")), P(18, 0x100));
    EXPECT_EQ(parts(DesktopKeyBindings::parseKdeShortcut("Meta+,")), P(43, 0x100));
    EXPECT_FALSE(DesktopKeyBindings::parseKdeShortcut("none"));
    EXPECT_FALSE(DesktopKeyBindings::parseKdeShortcut(""));
    EXPECT_FALSE(DesktopKeyBindings::parseKdeShortcut("Ctrl+A, Ctrl+B")); // a chord is no hot key
}

TEST(DesktopKeyBindings, KdeCommaShortcutsKeepTheirComma) {
    // Written escaped, as the desktop writes lists, and unescaped, as a hand edit might.
    const QByteArray file = "[plasmashell]\n"
                            "Settings=Meta+\\,,Meta+\\,,Open Settings\n"
                            "Hand=Ctrl+Alt+,,Ctrl+Alt+,,Edited, by hand\n"
                            "Escaped=Meta+\\\\,none,A backslash\n";
    EXPECT_EQ(DesktopKeyBindings::kdeShortcutTexts(file), (QStringList{"Meta+,", "Ctrl+Alt+,", "Meta+\\"}));
}

TEST(DesktopKeyBindings, KdeFileListsEveryCurrentShortcut) {
    const QByteArray file = "[kwin]\n"
                            "_k_friendly_name=KWin\n"
                            "Window Close=Alt+F4,Alt+F4,Close Window\n"
                            "Overview=Meta+W\\tMeta+Tab,Meta+W,Toggle Overview\n"
                            "Unused=none,,Nothing\n"
                            "# comment=Ctrl+Q\n"
                            "[org.kde.konsole.desktop]\n"
                            "_launch=Ctrl+Alt+T,Ctrl+Alt+T,Konsole\n";
    EXPECT_EQ(DesktopKeyBindings::kdeShortcutTexts(file),
              (QStringList{"Alt+F4", "Meta+W", "Meta+Tab", "none", "Ctrl+Alt+T"}));

    TempXdg xdg;
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    xdg.writeFile(xdg.configHome() + "/kglobalshortcutsrc", file);
    std::vector<SymbolicHotKey> entries;
    ASSERT_EQ(DesktopKeyBindings().copySymbolicHotKeys(&entries), platform::noErr);
    const auto found = all(entries);
    for (const auto& expected :
         {std::pair<qlonglong, qlonglong>(118, 0x800), {13, 0x100}, {48, 0x100}, {17, 0x1800}})
        EXPECT_TRUE(found.count(expected)) << expected.first << " " << expected.second;
}

using Binding = std::pair<qlonglong, qlonglong>;

// The desktop's bindings as read with XDG_CURRENT_DESKTOP set to `desktop`.
std::set<Binding> bindingsOf(const char* desktop) {
    qputenv("XDG_CURRENT_DESKTOP", desktop);
    std::vector<SymbolicHotKey> entries;
    EXPECT_EQ(DesktopKeyBindings().copySymbolicHotKeys(&entries), platform::noErr);
    return all(entries);
}

void setGSettings(const char* schema, const char* path, const char* key, GVariant* value) {
    GSettingsSchema* found =
        g_settings_schema_source_lookup(g_settings_schema_source_get_default(), schema, TRUE);
    ASSERT_TRUE(found) << schema;
    GSettings* settings = g_settings_new_full(found, nullptr, path);
    ASSERT_TRUE(g_settings_set_value(settings, key, value));
    g_object_unref(settings);
    g_settings_schema_unref(found);
}

const Binding altF2{120, 0x800}, superR{15, 0x100}, altF4{118, 0x800}, superE{14, 0x100};

TEST(DesktopKeyBindings, OnlyTheRunningDesktopsBindingsAreRead) {
    // The test's environment points GSettings at compiled stand-ins of the desktops' schemas.
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("GSETTINGS_SCHEMA_DIR"));
    TempXdg xdg;
    xdg.writeFile(xdg.configHome() + "/kglobalshortcutsrc", "[kwin]\n"
                                                            "Window Close=Alt+F4,Alt+F4,Close Window\n"
                                                            "[org.kde.dolphin.desktop]\n"
                                                            "_launch=Meta+E,Meta+E,Dolphin\n");

    const auto kde = bindingsOf("KDE");
    EXPECT_EQ(kde, (std::set<Binding>{altF4, superE})) << "KDE's bindings, and only those";

    const auto gnome = bindingsOf("ubuntu:GNOME");
    for (const auto& expected : {altF4, altF2, superR, Binding(17, 0x1800)})
        EXPECT_TRUE(gnome.count(expected)) << expected.first << " " << expected.second;
    EXPECT_FALSE(gnome.count(superE)) << "KDE's file is not GNOME's business";
    EXPECT_FALSE(gnome.count({0, 0x100})); // an empty binding list adds nothing
    EXPECT_EQ(bindingsOf("Budgie:GNOME"), gnome);

    EXPECT_TRUE(bindingsOf("i3").empty()) << "a desktop whose bindings are unknown reserves nothing";
}

TEST(DesktopKeyBindings, CustomShortcutsOfGnomeAndCinnamonAreReported) {
    TempXdg xdg;
    const char* path = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/";
    const char* const paths[] = {path};
    setGSettings("org.gnome.settings-daemon.plugins.media-keys", nullptr, "custom-keybindings",
                 g_variant_new_strv(paths, 1));
    setGSettings("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding", path, "binding",
                 g_variant_new_string("<Super>b"));
    EXPECT_TRUE(bindingsOf("GNOME").count({11, 0x100})) << "the user's own GNOME shortcut";

    const char* const cinnamonBinding[] = {"<Primary><Super>c"};
    setGSettings("org.cinnamon.desktop.keybindings.custom-keybinding",
                 "/org/cinnamon/desktop/keybindings/custom-keybindings/custom0/", "binding",
                 g_variant_new_strv(cinnamonBinding, 1));
    const auto cinnamon = bindingsOf("X-Cinnamon");
    EXPECT_TRUE(cinnamon.count({8, 0x1100}));
    EXPECT_TRUE(cinnamon.count(altF2));
    EXPECT_FALSE(cinnamon.count(superR)) << "GNOME's settings are not Cinnamon's";

    const auto mate = bindingsOf("MATE");
    EXPECT_EQ(mate, (std::set<Binding>{{16, 0x1800}})) << "\"disabled\" reserves nothing";
}

TEST(DesktopKeyBindings, XfceCustomShortcutsReplaceItsDefaults) {
    TempXdg xdg;
    const QString relative = "/xfce4/xfconf/xfce-perchannel-xml/xfce4-keyboard-shortcuts.xml";
    xdg.writeFile(xdg.configHome() + relative, R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-keyboard-shortcuts" version="1.0">
  <property name="commands" type="empty">
    <property name="default" type="empty">
      <property name="&lt;Alt&gt;F2" type="string" value="xfce4-appfinder --collapsed"/>
    </property>
    <property name="custom" type="empty">
      <property name="&lt;Primary&gt;&lt;Alt&gt;l" type="string" value="xflock4"/>
      <property name="override" type="bool" value="true"/>
    </property>
  </property>
  <property name="xfwm4" type="empty">
    <property name="default" type="empty">
      <property name="&lt;Alt&gt;F4" type="string" value="close_window_key"/>
    </property>
  </property>
</channel>
)");
    EXPECT_EQ(bindingsOf("XFCE"), (std::set<Binding>{{37, 0x1800}, altF4}));
}
