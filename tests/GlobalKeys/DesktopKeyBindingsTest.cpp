#include "platform/linux/DesktopKeyBindings.h"
#include "support/TempXdg.h"

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
    xdg.writeFile(xdg.configHome() + "/kglobalshortcutsrc", file);
    std::vector<SymbolicHotKey> entries;
    ASSERT_EQ(DesktopKeyBindings().copySymbolicHotKeys(&entries), platform::noErr);
    const auto found = all(entries);
    for (const auto& expected :
         {std::pair<qlonglong, qlonglong>(118, 0x800), {13, 0x100}, {48, 0x100}, {17, 0x1800}})
        EXPECT_TRUE(found.count(expected)) << expected.first << " " << expected.second;
}

TEST(DesktopKeyBindings, GnomeSettingsAreReadWhereTheSchemasExist) {
    // The test's environment points GSettings at a compiled copy of the window-manager schema.
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("GSETTINGS_SCHEMA_DIR"));
    TempXdg xdg;
    std::vector<SymbolicHotKey> entries;
    ASSERT_EQ(DesktopKeyBindings().copySymbolicHotKeys(&entries), platform::noErr);
    const auto found = all(entries);
    for (const auto& expected :
         {std::pair<qlonglong, qlonglong>(118, 0x800), {120, 0x800}, {15, 0x100}, {17, 0x1800}})
        EXPECT_TRUE(found.count(expected)) << expected.first << " " << expected.second;
    EXPECT_FALSE(found.count({0, 0x100})); // an empty binding list adds nothing
}
