// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/main/Translations.h"
#include "GlobalKeys/resource_bundle_accessor/ResourceBundle.h"
#include "app/ui/settings/SettingsView.h"
#include "app/ui/settings/SettingsWindow.h"
#include "app/ui/tray/MenuBarContent.h"
#include "platform/fake/FakeLoginItemService.h"
#include "platform/linux/applications/CompiledMainBundle.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

QStringList menuTexts(MenuBarContent& content) {
    QStringList texts;
    for (QAction* action : content.menu()->actions())
        if (!action->isSeparator())
            texts << action->text();
    return texts;
}

// Everything the settings window says: title, labels, switches and the recorder's placeholder.
QString settingsTexts() {
    SettingsWindow window;
    QStringList texts{window.windowTitle()};
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QLineEdit* field : window.findChildren<QLineEdit*>())
        texts << field->placeholderText();
    return texts.join('\n');
}

struct TranslationsTest : ::testing::Test {
    TempXdg xdg;
    FakePlatform fakes;
    platform::Override<platform::LoginItemService> loginItems{
        std::make_shared<platform::fake::FakeLoginItemService>()};
    void TearDown() override { installTranslations(QLocale::c()); }
};

} // namespace

// Run with LANG=de_DE.UTF-8: what the desktop session of a German user sets.
TEST_F(TranslationsTest, TheSessionLanguageIsLoadedAndTheMenuReadsGerman) {
    ASSERT_EQ(QLocale().language(), QLocale::German) << "this test runs under LANG=de_DE.UTF-8";
    ASSERT_TRUE(installTranslations());
    MenuBarContent content(/*plainRows=*/true);
    EXPECT_EQ(menuTexts(content), (QStringList{"Beenden", "Einstellungen …", "Rückmeldung senden", "Über",
                                               "Standardbrowser wechseln zu", "Liste aktualisieren"}));
    const QString settings = settingsTexts();
    EXPECT_TRUE(settings.startsWith("Einstellungen\n")) << "the title, without the application's name";
    for (const char* german : {"Diese Arbeitsumgebung stellt keine solche Rückfrage", "Beim Anmelden starten",
                               "Tastenkürzel aufnehmen"})
        EXPECT_TRUE(settings.contains(QString::fromUtf8(german))) << german << "\n" << qPrintable(settings);
    // The texts of the shortcut library and the compiled-in copyright line speak German too.
    EXPECT_EQ(GlobalKeys::localizedString("force_use_shortcut"), "Trotzdem verwenden");
    EXPECT_EQ(platform::linux_::CompiledMainBundle().objectForInfoDictionaryKey("NSHumanReadableCopyright"),
              "Copyright © 2026 The Tolvane developers. Lizenz: GPL-3.0-or-later.");
}

TEST_F(TranslationsTest, EnglishAndFrenchSpeakOfThisDesktop) {
    ASSERT_TRUE(installTranslations(QLocale(QLocale::English, QLocale::UnitedKingdom)));
    QString texts = settingsTexts();
    EXPECT_TRUE(texts.contains("This desktop shows no such prompt, so the option has no effect here."));
    EXPECT_TRUE(texts.contains("automation guide"));
    EXPECT_FALSE(texts.contains("Privacy &amp; Security")) << "no macOS settings path";
    EXPECT_FALSE(texts.contains("Privacy & Security")) << "no macOS settings path";

    ASSERT_TRUE(installTranslations(QLocale(QLocale::French, QLocale::Canada)));
    MenuBarContent content(/*plainRows=*/true);
    EXPECT_EQ(menuTexts(content).value(0), "Quitter");
    EXPECT_TRUE(settingsTexts().contains("guide d’automatisation"));
}
