#include "Translations.h"
#include "MenuBarContent.h"
#include "SettingsView.h"
#include "SettingsWindow.h"
#include "platform/fake/FakeLoginItemService.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QCoreApplication>
#include <QLabel>
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

QString settingsTexts() {
    SettingsWindow window;
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
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
    EXPECT_EQ(menuTexts(content), (QStringList{"Beenden", "Einstellungen …", "Feedback senden", "Über",
                                               "Standardbrowser wechseln zu", "Liste aktualisieren"}));
    EXPECT_TRUE(settingsTexts().contains("Diese Arbeitsumgebung stellt keine solche Rückfrage"));
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
