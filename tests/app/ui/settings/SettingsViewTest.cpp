// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/settings/SettingsView.h"
#include "BrowserCatalogue.h"
#include "GlobalKeys/RecorderField/Recorder.h"
#include "GlobalKeys/Shortcuts.h"
#include "SettingsStore.h"
#include "StartAtLogin/Toggle.h"
#include "TolvaShortcutReactor.h"
#include "app/ui/settings/BrowserPicker.h"
#include "app/ui/settings/LinksTab.h"
#include "app/ui/settings/RuleDialog.h"
#include "app/ui/settings/SettingsWindow.h"
#include "platform/fake/FakeHotKeyEvents.h"
#include "platform/fake/FakeLinkRouting.h"
#include "platform/fake/FakeLoginItemService.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextLayout>
#include <QTreeWidget>

#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

struct SettingsFixture : ::testing::Test {
    TempXdg xdg;
    FakePlatform fakes;
    std::shared_ptr<platform::fake::FakeLoginItemService> loginItems =
        std::make_shared<platform::fake::FakeLoginItemService>();
    platform::Override<platform::LoginItemService> loginGuard{loginItems};
    std::shared_ptr<platform::fake::FakeLinkRouting> routing =
        std::make_shared<platform::fake::FakeLinkRouting>();
    platform::Override<platform::LinkRouting> routingGuard{routing};

    void SetUp() override { Tolvane::testing::resetToggleBrowserCatalogue(); }

    QUrl addBrowser(const QString& path, const QString& id, const QString& name,
                    const QString& version = {}) {
        QVariantMap info{{"CFBundleName", name}};
        if (!version.isEmpty())
            info.insert("CFBundleShortVersionString", version);
        return fakes.addApp(path, id, info);
    }
    static QString storedId() {
        return SettingsStore::stringForKey(SettingsStore::toggleBrowserId).value_or("<none>");
    }
    static QString idAt(int index) { return installedBrowsers().at(index).id(); }
    static QStringList pickerTexts(const SettingsView* view) {
        QStringList texts;
        for (int i = 0; i < view->browserPicker()->count(); ++i)
            texts << view->browserPicker()->itemText(i);
        return texts;
    }
};

TEST_F(SettingsFixture, TabsAndTheirContents) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    SettingsWindow window;
    SettingsView* view = window.view();
    ASSERT_EQ(view->tabs()->count(), 3);
    EXPECT_EQ(view->tabs()->tabText(0), "General");
    EXPECT_EQ(view->tabs()->tabText(1), "Shortcuts");
    EXPECT_EQ(view->tabs()->tabText(2), "Links");
    for (int tab = 0; tab < 3; ++tab)
        EXPECT_FALSE(view->tabs()->tabIcon(tab).isNull()) << "tab " << tab;
    EXPECT_EQ(view->launchAtLoginSwitch()->title(), "Launch at login");
    EXPECT_EQ(view->showBrowserVersionSwitch()->text(), "Show browser version");
    EXPECT_EQ(view->autoConfirmSwitch()->text(), "Auto-confirm browser change");
    EXPECT_EQ(view->changeBrowserSwitch()->text(), "Change browser");
    EXPECT_EQ(view->recorder()->field()->shortcutName().rawValue, "toggleSystemBrowserKeys");
    EXPECT_TRUE(view->automationNote()->text().startsWith("💡 For even more flexibility, use "));
    EXPECT_TRUE(view->automationNote()->text().contains("href=\"shortcuts://\""));
}

TEST_F(SettingsFixture, FirstShowingStoresTheFirstBrowser) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    addBrowser("/apps/bar.desktop", "org.bar", "Bar");
    SettingsWindow window;
    EXPECT_EQ(storedId(), "<none>") << "nothing is written before the window is shown";
    window.show();
    EXPECT_EQ(storedId(), idAt(0));
}

TEST_F(SettingsFixture, AnUpdatedBrowserKeepsItsPlaceAnUninstalledOneIsReplaced) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo", "1");
    addBrowser("/apps/bar.desktop", "org.bar", "Bar", "7");
    SettingsStore::setString(SettingsStore::toggleBrowserId, idAt(1));
    {
        SettingsWindow window;
        window.show();
        EXPECT_EQ(storedId(), idAt(1));
    }
    // Bar was updated: its id changed, and the window stores Bar's new id and still shows Bar.
    const QString old = idAt(1);
    fakes.bundles->bundles[QUrl::fromLocalFile("/apps/bar.desktop")].info["CFBundleShortVersionString"] = "8";
    ASSERT_NE(idAt(1), old);
    {
        SettingsStore::setBool(SettingsStore::toggleBrowser, true);
        SettingsWindow window;
        window.show();
        EXPECT_EQ(storedId(), "org.bar:8:file:///apps/bar.desktop");
        EXPECT_EQ(window.view()->browserPicker()->currentText(), "Bar");
    }
    // Bar was removed: the first browser takes its place.
    fakes.bundles->bundles.remove(QUrl::fromLocalFile("/apps/bar.desktop"));
    fakes.workspace->applications.removeAll(QUrl::fromLocalFile("/apps/bar.desktop"));
    SettingsWindow window;
    window.show();
    EXPECT_EQ(storedId(), idAt(0));
}

TEST_F(SettingsFixture, AutoConfirmWithoutTrustShowsTheAlertAndTurnsBackOff) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    fakes.accessibility->trusted = false;
    SettingsWindow window;
    window.show();
    QCheckBox* box = window.view()->autoConfirmSwitch();
    box->click();
    EXPECT_EQ(fakes.alert->shown.size(), 1);
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::autoConfirmChange));
    EXPECT_FALSE(box->isChecked());

    fakes.accessibility->trusted = true;
    box->click();
    EXPECT_EQ(fakes.alert->shown.size(), 1);
    EXPECT_TRUE(SettingsStore::boolForKey(SettingsStore::autoConfirmChange));
    EXPECT_TRUE(box->isChecked());

    fakes.accessibility->trusted = false;
    const auto checks = fakes.accessibility->prompts.size();
    box->click();
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::autoConfirmChange));
    EXPECT_EQ(fakes.alert->shown.size(), 1) << "turning it off shows nothing";
    EXPECT_EQ(fakes.accessibility->prompts.size(), checks) << "and checks nothing";
}

TEST_F(SettingsFixture, ChangeBrowserShowsRecorderAndPickerAndRepairs) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    addBrowser("/apps/bar.desktop", "org.bar", "Bar");
    SettingsWindow window;
    window.show();
    SettingsView* view = window.view();
    EXPECT_FALSE(view->changeBrowserOptions()->isVisibleTo(view->tabs()->widget(1)));

    SettingsStore::setString(SettingsStore::toggleBrowserId, "gone");
    view->changeBrowserSwitch()->click();
    EXPECT_TRUE(SettingsStore::boolForKey(SettingsStore::toggleBrowser));
    EXPECT_TRUE(view->changeBrowserOptions()->isVisibleTo(view->tabs()->widget(1)));
    EXPECT_TRUE(view->recorder()->isVisibleTo(view->tabs()->widget(1)));
    EXPECT_TRUE(view->browserPicker()->isVisibleTo(view->tabs()->widget(1)));
    EXPECT_EQ(storedId(), idAt(0));

    // The picker writes the choice.
    view->browserPicker()->setCurrentIndex(1);
    emit view->browserPicker()->activated(1);
    EXPECT_EQ(storedId(), idAt(1));

    SettingsStore::setString(SettingsStore::toggleBrowserId, "gone again");
    view->changeBrowserSwitch()->click();
    EXPECT_FALSE(SettingsStore::boolForKey(SettingsStore::toggleBrowser));
    EXPECT_FALSE(view->changeBrowserOptions()->isVisibleTo(view->tabs()->widget(1)));
    EXPECT_EQ(storedId(), idAt(0)) << "switching off repairs too";
}

TEST_F(SettingsFixture, ShortcutsTabSaysWhatTheDesktopMakesOfGlobalShortcuts) {
    auto hotKeys = std::make_shared<platform::fake::FakeHotKeyEvents>();
    hotKeys->deliverable = false;
    platform::Override<platform::HotKeyEvents> guard{hotKeys};
    platform::Override<platform::HotKeyStatus> statusGuard{hotKeys};
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    const GlobalKeys::Shortcut shortcut(GlobalKeys::Key::b, Qt::ControlModifier | Qt::AltModifier);
    GlobalKeys::setShortcut(shortcut, TolvaShortcutReactor::toggleSystemBrowserKeys());
    SettingsWindow window;
    window.view()->tabs()->setCurrentIndex(1);
    window.show();
    auto* status = window.view()->findChild<QLabel*>("globalShortcutStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), "Global shortcuts are not available on this desktop.");

    // A portal came up and its desktop chose another key than the recorded one.
    hotKeys->deliverable = true;
    hotKeys->assigned[{std::uint32_t(shortcut.carbonKeyCode), std::uint32_t(shortcut.carbonModifiers)}] =
        "Ctrl+Alt+Y";
    hotKeys->statusChanged();
    EXPECT_EQ(status->text(), "The desktop assigned Ctrl+Alt+Y to this shortcut.");
    hotKeys->assigned.clear();
    hotKeys->statusChanged();
    EXPECT_TRUE(status->isHidden()) << "nothing to say when the desktop delivers the recorded key";
    GlobalKeys::setShortcut(std::nullopt, TolvaShortcutReactor::toggleSystemBrowserKeys());
}

TEST_F(SettingsFixture, PickerTellsCopiesApartByVersionLive) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo", "1.0");
    addBrowser("/opt/foo.desktop", "org.foo", "Foo", "2.0");
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    SettingsWindow window;
    window.show();
    SettingsView* view = window.view();
    EXPECT_EQ(pickerTexts(view), (QStringList{"Foo", "Foo"}));
    EXPECT_EQ(view->browserPicker()->itemData(0, BrowserPicker::versionRole).toString(), "");
    view->showBrowserVersionSwitch()->click();
    EXPECT_EQ(view->browserPicker()->itemData(0, BrowserPicker::nameRole).toString(), "Foo");
    EXPECT_EQ(view->browserPicker()->itemData(0, BrowserPicker::versionRole).toString(), "(1.0)");
    EXPECT_TRUE(SettingsStore::boolForKey(SettingsStore::showBrowserVersion));
    EXPECT_EQ(pickerTexts(view), (QStringList{"Foo (1.0)", "Foo (2.0)"}));
    EXPECT_EQ(view->browserPicker()->itemData(1).toString(), idAt(1));
}

TEST_F(SettingsFixture, StoredChangesFromElsewhereAreShown) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo", "1.0");
    addBrowser("/apps/bar.desktop", "org.bar", "Bar", "2.0");
    SettingsWindow window;
    window.show();
    SettingsView* view = window.view();
    // Another writer (the menu, a script) changes the suite file.
    SettingsStore::setBool(SettingsStore::showBrowserVersion, true);
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    SettingsStore::setString(SettingsStore::toggleBrowserId, idAt(1));
    QTRY_VERIFY_WITH_TIMEOUT(view->showBrowserVersionSwitch()->isChecked(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(view->browserPicker()->currentIndex() == 1, 5000);
    EXPECT_TRUE(view->changeBrowserSwitch()->isChecked());
    EXPECT_TRUE(view->changeBrowserOptions()->isVisibleTo(view->tabs()->widget(1)));
    EXPECT_EQ(view->browserPicker()->currentText(), "Bar (2.0)");
}

TEST_F(SettingsFixture, CatalogueIsKeptForTheProcess) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    { SettingsView first; }
    addBrowser("/apps/new.desktop", "org.new", "New");
    SettingsView view;
    EXPECT_EQ(pickerTexts(&view), QStringList{"Foo"}) << "installed later: not in the picker until restart";
    EXPECT_EQ(toggleBrowserCatalogue().size(), 1);
}

TEST_F(SettingsFixture, NoBrowserGivesAnEmptyPickerAndStoresNothing) {
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    SettingsWindow window;
    window.show();
    window.view()->changeBrowserSwitch()->click();
    window.view()->changeBrowserSwitch()->click();
    EXPECT_EQ(window.view()->browserPicker()->count(), 0);
    EXPECT_EQ(storedId(), "<none>");
}

TEST_F(SettingsFixture, LinkOpensTheAutomationGuide) {
    SettingsWindow window;
    window.show();
    emit window.view()->automationNote()->linkActivated("shortcuts://");
    ASSERT_EQ(fakes.workspace->openedURLs.size(), 1);
    const QUrl guide = fakes.workspace->openedURLs[0];
    EXPECT_TRUE(guide.isLocalFile());
    EXPECT_TRUE(guide.path().endsWith("automation-guide.html"));
    EXPECT_TRUE(QFileInfo::exists(guide.toLocalFile()));
}

TEST_F(SettingsFixture, LaunchAtLoginSwitchDrivesTheLoginItem) {
    SettingsWindow window;
    window.show();
    auto* toggle = window.view()->launchAtLoginSwitch();
    EXPECT_FALSE(toggle->isOn());
    toggle->control()->click();
    EXPECT_EQ(loginItems->current, platform::LoginItemService::Status::enabled);
    QTRY_VERIFY(toggle->isOn());
}

QStringList ruleRows(const LinksTab* tab) {
    QStringList rows;
    for (int i = 0; i < tab->ruleList()->topLevelItemCount(); ++i)
        rows << tab->ruleList()->topLevelItem(i)->text(0) + " -> " +
                    tab->ruleList()->topLevelItem(i)->text(1);
    return rows;
}

QString verdictFor(LinksTab* tab, const QString& link) {
    tab->linkField()->clear();
    QTest::keyClicks(tab->linkField(), link);
    return tab->linkVerdict()->text();
}

// The rule dialog the tab shows (a closed one lingers until deleted later).
RuleDialog* openDialog(LinksTab* tab) {
    for (RuleDialog* dialog : tab->findChildren<RuleDialog*>())
        if (dialog->isVisible())
            return dialog;
    return nullptr;
}

// Through the real tab and the real rules file: rules edited by hand and in the tab, the test field,
// and the routing switch.
TEST_F(SettingsFixture, LinksTabEditsTheRulesFileInPlaceAndTellsWhereALinkOpens) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    addBrowser("/apps/bar.desktop", "org.bar", "Bar");
    fakes.handlers->current = "org.foo.desktop";
    const QString rulesPath = xdg.configHome() + "/tolvane/links.rules";
    xdg.writeFile(rulesPath, "# Work first\n"
                             "intranet.example  org.bar.desktop\n"
                             "docs.example/*\task\n"
                             "old.example gone.desktop\n");
    SettingsWindow window;
    window.view()->tabs()->setCurrentIndex(2);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LinksTab* tab = window.view()->linksTab();
    EXPECT_EQ(ruleRows(tab), (QStringList{"intranet.example -> Bar", "docs.example/* -> Ask each time",
                                          "old.example -> gone.desktop (not installed)"}));
    // With the rules off or taken over, the box says where links really go, and what the rules would do.
    EXPECT_EQ(verdictFor(tab, "https://wiki.intranet.example/start"),
              "Opens in Foo: link rules are off (rule 1 would open it in Bar)");
    EXPECT_EQ(verdictFor(tab, "docs.example/guide"),
              "Opens in Foo: link rules are off (rule 2 would ask which browser)");
    EXPECT_EQ(verdictFor(tab, "http://elsewhere.org/"), "Opens in Foo: link rules are off");
    routing->current = platform::LinkRouting::State::displaced;
    tab->reload();
    EXPECT_EQ(verdictFor(tab, "https://wiki.intranet.example/start"),
              "Opens in Foo: another program took web links from the rules");
    routing->current = platform::LinkRouting::State::on;
    tab->reload();
    EXPECT_EQ(verdictFor(tab, "https://wiki.intranet.example/start"), "Opens in Bar (rule 1)");
    EXPECT_EQ(verdictFor(tab, "docs.example/guide"), "Asks which browser (rule 2)");
    EXPECT_EQ(verdictFor(tab, "http://elsewhere.org/"), "Opens in Foo (no rule; the default browser)");
    EXPECT_EQ(verdictFor(tab, "old.example"),
              "Opens in Foo (rule 3 names a browser that is not installed; the default browser)");
    EXPECT_EQ(verdictFor(tab, "mailto:someone@intranet.example"), "Not a web link");
    EXPECT_EQ(verdictFor(tab, "news.example"), "Opens in Foo (no rule; the default browser)");

    // Added through the dialog, which refuses a pattern that can never match.
    tab->addButton()->click();
    RuleDialog* dialog = openDialog(tab);
    ASSERT_NE(dialog, nullptr);
    QCoreApplication::processEvents(); // the dialog becomes the active window, as for a person
    QTest::keyClicks(dialog->patternField(), "https://news.example");
    EXPECT_FALSE(dialog->okButton()->isEnabled());
    EXPECT_FALSE(dialog->problemLabel()->text().isEmpty());
    QCoreApplication::processEvents(); // the dialog makes room for the problem
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                << "cut off: " << label->text().toStdString();
        }
    }
    dialog->patternField()->clear();
    QTest::keyClicks(dialog->patternField(), "news.example");
    EXPECT_TRUE(dialog->okButton()->isEnabled());
    EXPECT_TRUE(dialog->problemLabel()->isHidden());
    QStringList offered;
    for (int i = 0; i < dialog->targetPicker()->count(); ++i)
        offered << dialog->targetPicker()->itemText(i);
    EXPECT_EQ(offered, (QStringList{"Foo", "Bar", "Ask each time"}));
    dialog->targetPicker()->setCurrentIndex(dialog->targetPicker()->findData("org.foo.desktop"));
    dialog->okButton()->click();
    EXPECT_EQ(tab->linkVerdict()->text(), "Opens in Foo (rule 4)") << "the box follows the change";

    // The new rule moves above the one for a missing browser, which then goes by the Delete key.
    ASSERT_EQ(tab->ruleList()->currentItem()->text(0), "news.example");
    tab->upButton()->click();
    tab->ruleList()->setCurrentItem(tab->ruleList()->topLevelItem(3));
    tab->ruleList()->setFocus();
    QTest::keyClick(tab->ruleList(), Qt::Key_Delete);
    // And the rule that asks now names Bar.
    tab->ruleList()->setCurrentItem(tab->ruleList()->topLevelItem(1));
    tab->editButton()->click();
    dialog = openDialog(tab);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->patternField()->text(), "docs.example/*");
    EXPECT_EQ(dialog->targetPicker()->currentText(), "Ask each time");
    dialog->targetPicker()->setCurrentIndex(dialog->targetPicker()->findData("org.bar.desktop"));
    dialog->okButton()->click();
    EXPECT_EQ(xdg.readFile(rulesPath).toStdString(), "# Work first\n"
                                                     "intranet.example  org.bar.desktop\n"
                                                     "docs.example/* org.bar.desktop\n"
                                                     "news.example org.foo.desktop\n");
    EXPECT_EQ(ruleRows(tab),
              (QStringList{"intranet.example -> Bar", "docs.example/* -> Bar", "news.example -> Foo"}));
    EXPECT_TRUE(tab->rulesNote()->isHidden());

    // A file the tab cannot read is shown as such and never written over.
    const QByteArray broken = "# half-written\nintranet.example\n";
    xdg.writeFile(rulesPath, broken);
    tab->reload();
    EXPECT_FALSE(tab->ruleList()->isEnabled());
    EXPECT_FALSE(tab->addButton()->isEnabled());
    EXPECT_THAT(tab->rulesNote()->text().toStdString(), ::testing::HasSubstr("line 2"));
    EXPECT_TRUE(tab->rulesNote()->isVisible());
    tab->removeButton()->click();
    EXPECT_EQ(xdg.readFile(rulesPath), broken);

    // A file that reads but cannot be replaced (its folder takes no new files, whoever runs this).
    QFile::remove(rulesPath);
    ASSERT_TRUE(QFile::link("/proc/version", rulesPath));
    tab->reload();
    ASSERT_TRUE(tab->addButton()->isEnabled());
    tab->addButton()->click();
    dialog = openDialog(tab);
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog->patternField(), "news.example");
    dialog->okButton()->click();
    EXPECT_THAT(tab->rulesNote()->text().toStdString(), ::testing::HasSubstr("Could not write"));
    EXPECT_EQ(tab->ruleList()->topLevelItemCount(), 0) << "the list shows what the file holds";

    // The routing switch: on, a refusal that leaves it as it was with the reason, then displaced.
    routing->current = platform::LinkRouting::State::off;
    tab->reload();
    EXPECT_FALSE(tab->routingSwitch()->isChecked());
    EXPECT_EQ(verdictFor(tab, "http://elsewhere.org/"), "Opens in Foo: link rules are off");
    tab->routingSwitch()->click();
    EXPECT_EQ(routing->calls, QList<bool>{true});
    EXPECT_TRUE(tab->routingSwitch()->isChecked());
    EXPECT_EQ(tab->linkVerdict()->text(), "Opens in Foo (no rule; the default browser)") << "the box follows";
    EXPECT_TRUE(tab->routingNote()->isHidden());
    routing->status = platform::HandlerService::writeFailed;
    routing->reason = "Could not write mimeapps.list: Read-only file system";
    tab->routingSwitch()->click();
    EXPECT_EQ(routing->calls, (QList<bool>{true, false}));
    EXPECT_TRUE(tab->routingSwitch()->isChecked()) << "a refused change is undone";
    EXPECT_TRUE(tab->routingNote()->isVisible());
    EXPECT_EQ(tab->routingNote()->text(), routing->reason);
    EXPECT_TRUE(fakes.alert->shown.isEmpty()) << "said in the tab, not in a dialog";
    routing->current = platform::LinkRouting::State::displaced;
    tab->reload();
    EXPECT_FALSE(tab->routingSwitch()->isChecked());
    EXPECT_EQ(tab->routingNote()->text(), "Another program opens web links now.");
}

// Who takes each Alt key in `window` as it shows now: buttons, labels of other controls, group boxes
// and tabs; a key more than one of them take is answered by none.
QStringList altKeyClashes(QWidget* window, const QString& where) {
    QMap<QString, QStringList> takers;
    const auto take = [&](const QString& text, const QString& what) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty())
            takers[key.toString()] << what + " \"" + text + "\"";
    };
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisibleTo(window) || !widget->isEnabled())
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            take(button->text(), "button");
        else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
            take(label->text(), "label");
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            take(box->title(), "group");
        else if (auto* bar = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < bar->count(); ++i)
                take(bar->tabText(i), "tab");
    }
    QStringList clashes;
    for (auto it = takers.cbegin(); it != takers.cend(); ++it)
        if (it->size() > 1)
            clashes << where + ": " + it.key() + " is taken by " + it->join(" and ");
    return clashes;
}

// Every tab of the settings window and its rule dialog, with the texts the desktop's theme gives
// standard buttons (run again on XFCE's terms, where OK and Cancel have keys of their own).
TEST_F(SettingsFixture, NoTwoControlsOfAWindowTakeTheSameAltKey) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    SettingsWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStringList clashes;
    for (int i = 0; i < window.view()->tabs()->count(); ++i) {
        window.view()->tabs()->setCurrentIndex(i);
        QCoreApplication::processEvents();
        clashes << altKeyClashes(&window, window.view()->tabs()->tabText(i));
    }
    LinksTab* tab = window.view()->linksTab();
    window.view()->tabs()->setCurrentWidget(tab);
    tab->addButton()->click();
    RuleDialog* dialog = openDialog(tab);
    ASSERT_NE(dialog, nullptr);
    // A pattern that can match: OK takes its key only while it can be pressed.
    QTest::keyClicks(dialog->patternField(), "example.com");
    ASSERT_TRUE(dialog->okButton()->isEnabled());
    clashes << altKeyClashes(dialog, "the rule dialog");
    EXPECT_EQ(clashes.join("\n").toStdString(), "");
    dialog->reject();
}

// The picker, the command line and editors change the rules file while the tab is shown: the list
// follows them, and the tab's next change builds on theirs.
TEST_F(SettingsFixture, LinksTabFollowsTheRulesFileWhileShown) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    addBrowser("/apps/bar.desktop", "org.bar", "Bar");
    const QString rulesPath = xdg.configHome() + "/tolvane/links.rules";
    SettingsWindow window;
    window.view()->tabs()->setCurrentIndex(2);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    LinksTab* tab = window.view()->linksTab();
    ASSERT_EQ(ruleRows(tab), QStringList());

    const auto shows = [tab](const QStringList& rows) {
        return QTest::qWaitFor([&] { return ruleRows(tab) == rows; })
                   ? ""
                   : ruleRows(tab).join(" | ").toStdString();
    };
    // Made by another program, its folder too; replaced by an editor; added to in place.
    xdg.writeFile(rulesPath, "intranet.example org.bar.desktop\n");
    ASSERT_EQ(shows({"intranet.example -> Bar"}), "");
    xdg.writeFile(rulesPath + "~", "intranet.example org.bar.desktop\nnews.example org.foo.desktop\n");
    ASSERT_EQ(::rename(qPrintable(rulesPath + "~"), qPrintable(rulesPath)), 0);
    ASSERT_EQ(shows({"intranet.example -> Bar", "news.example -> Foo"}), "");
    QFile file(rulesPath);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("docs.example ask\n");
    file.close();
    ASSERT_EQ(shows({"intranet.example -> Bar", "news.example -> Foo", "docs.example -> Ask each time"}), "");

    tab->ruleList()->setCurrentItem(tab->ruleList()->topLevelItem(0));
    tab->removeButton()->click();
    EXPECT_TRUE(tab->rulesNote()->isHidden()) << tab->rulesNote()->text().toStdString();
    EXPECT_EQ(xdg.readFile(rulesPath).toStdString(), "news.example org.foo.desktop\ndocs.example ask\n");
}

} // namespace

TEST_F(SettingsFixture, EscapeClosesTheWindowOnceTheRecorderIsNotRecording) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    SettingsWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.view()->tabs()->setCurrentIndex(1);
    GlobalKeys::RecorderField* field = window.view()->recorder()->field();
    ASSERT_TRUE(field->isVisible());
    EXPECT_EQ(field->accessibleName(), "Shortcut") << "screen readers announce the field by its label";
    QCoreApplication::processEvents(); // the field's activation guard lets go on the next turn
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
    ASSERT_TRUE(field->isRecording());

    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isRecording()) << "the first Escape ends recording";
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible()) << "the next one closes the window";
}
TEST_F(SettingsFixture, TurningChangeBrowserOnMakesRoomForTheRecordersHint) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    SettingsWindow window;
    window.show();
    window.view()->tabs()->setCurrentIndex(1);
    window.view()->changeBrowserSwitch()->click();
    for (int i = 0; i < 3; ++i) // the layouts settle in posted requests
        QCoreApplication::processEvents();
    const GlobalKeys::RecorderField* field = window.view()->recorder()->field();
    EXPECT_GE(field->width(), field->sizeHint().width()) << "the window did not grow to fit the recorder";
}

// Chosen in the picker, then uninstalled: the notice names it as the picker showed it.
TEST_F(SettingsFixture, AToggleBrowserUninstalledLaterIsNamedAsThePickerShowedIt) {
    addBrowser("/apps/alpha.desktop", "alpha", "Alpha", "1");
    const QUrl esr = addBrowser("/apps/firefox-esr.desktop", "firefox-esr", "Firefox ESR", "115.5");
    SettingsStore::setString(SettingsStore::toggleBrowserId, idAt(1));
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    {
        SettingsWindow window;
        window.show();
        ASSERT_EQ(window.view()->browserPicker()->currentText(), "Firefox ESR");
    }
    fakes.bundles->bundles.remove(esr);
    fakes.workspace->applications.removeAll(esr);

    TolvaShortcutReactor::toggleBrowser();
    ASSERT_FALSE(fakes.notifications->shown.isEmpty());
    EXPECT_EQ(fakes.notifications->shown.last().first, "Could not make Firefox ESR the default browser");
}

// Run also with fonts that have no emoji: a symbol no font has must not show as an empty box.
TEST_F(SettingsFixture, EveryTextCanBeDrawnWithTheFontsInstalled) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    SettingsWindow window;
    window.show();
    int checked = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        QTextDocument document;
        document.setHtml(label->text());
        const QString text = label->textFormat() == Qt::PlainText ? label->text() : document.toPlainText();
        if (text.isEmpty())
            continue;
        QTextLayout layout(text, label->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns())
            EXPECT_FALSE(run.glyphIndexes().contains(0)) << "an empty box in: " << text.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 3);
    EXPECT_THAT(window.view()->automationNote()->text().toStdString(),
                ::testing::HasSubstr("For even more flexibility, use "));
}

// Run also on a 1280x800 screen at scale 2: the window stays on the screen and its texts wrap in it.
TEST_F(SettingsFixture, OnASmallScreenTheWindowFitsAndNothingRunsOffItsSide) {
    addBrowser("/apps/foo.desktop", "org.foo", "Foo");
    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    SettingsWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    const QSize room = window.screen()->availableGeometry().size();
    EXPECT_LE(window.width(), room.width()) << "screen " << room.width() << "x" << room.height();
    EXPECT_LE(window.height(), room.height()) << "screen " << room.width() << "x" << room.height();
    for (int tab = 0; tab < window.view()->tabs()->count(); ++tab) {
        window.view()->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        for (const QLabel* label : window.view()->tabs()->currentWidget()->findChildren<QLabel*>()) {
            if (!label->isVisible() || !label->wordWrap())
                continue;
            const QRect shown(label->mapTo(&window, QPoint(0, 0)), label->size());
            EXPECT_LE(shown.right(), window.width()) << "cut off: " << label->text().toStdString();
        }
    }
}
