// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QList>
#include <QUrl>
#include <QWidget>

class QCheckBox;
class QLabel;
class QTabWidget;

namespace GlobalKeys {
class Recorder;
}
namespace StartAtLogin {
class Toggle;
}

namespace Tolvane {

class BrowserPicker;
class LinksTab;

// The browsers the picker offers: listed the first time a settings view is made, kept until exit.
const QList<DefaultBrowser>& toggleBrowserCatalogue();

namespace testing {
// Lets the next settings view list the browsers again; tests share one process.
void resetToggleBrowserCatalogue();
} // namespace testing

// The content of the settings window: "General" (launch at login, versions, auto-confirm),
// "Shortcuts" (the toggle browser, its shortcut and the automation note) and "Links" (link rules).
// Every control writes its setting at once and follows the stored value when something else changes it.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    explicit SettingsView(QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    StartAtLogin::Toggle* launchAtLoginSwitch() const { return launchAtLogin_; }
    QCheckBox* showBrowserVersionSwitch() const { return showVersion_; }
    QCheckBox* autoConfirmSwitch() const { return autoConfirm_; }
    QCheckBox* changeBrowserSwitch() const { return toggleBrowser_; }
    QWidget* changeBrowserOptions() const { return toggleOptions_; }
    GlobalKeys::Recorder* recorder() const { return recorder_; }
    BrowserPicker* browserPicker() const { return picker_; }
    QLabel* automationNote() const { return note_; }
    LinksTab* linksTab() const { return links_; }

    // The most the window can give (a small screen): texts wrap within it rather than run off.
    void setAvailableWidth(int width);

    // Replaces a stored toggle browser that is no longer installed by the first installed one.
    void repairToggleBrowserId();
    // Reads the four settings again and reacts to the ones that changed.
    void reloadSettings();

    // What the note's link opens: the automation guide installed with the application.
    static QUrl automationGuideUrl();
    void openLink(const QUrl& url);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Values {
        bool autoConfirmChange = false;
        bool settingsToggleBrowser = false;
        bool settingsShowBrowserVersion = false;
        QString settingsToggleBrowserId;
    };
    static Values storedValues();
    QWidget* makeGeneralTab();
    QWidget* makeShortcutsTab();
    void fitTabsWidth();
    void fillPicker(bool showVersion);
    void userChangedAutoConfirm(bool on);
    void autoConfirmGuard();

    QTabWidget* tabs_ = nullptr;
    StartAtLogin::Toggle* launchAtLogin_ = nullptr;
    QCheckBox* showVersion_ = nullptr;
    QCheckBox* autoConfirm_ = nullptr;
    QCheckBox* toggleBrowser_ = nullptr;
    QWidget* toggleOptions_ = nullptr;
    GlobalKeys::Recorder* recorder_ = nullptr;
    BrowserPicker* picker_ = nullptr;
    QLabel* note_ = nullptr;
    LinksTab* links_ = nullptr;
    Values shown_;
    int availableWidth_ = QWIDGETSIZE_MAX;
};

} // namespace Tolvane
