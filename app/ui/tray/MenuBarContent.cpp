// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuBarContent.h"

#include "BrowserCatalogue.h"
#include "LaunchServices.h"
#include "MenuRowAction.h"
#include "SettingsStore.h"
#include "SwitchFailureNotice.h"
#include "app/ui/settings/BrowserRowLabel.h"
#include "platform/Console.h"

#include <QApplication>
#include <QMenu>

namespace Tolvane {

MenuBarContent::MenuBarContent(bool plainRows, QObject* parent)
    : QObject(parent), menu_(new QMenu), plainRows_(plainRows) {
    browsers_ = installedBrowsers();
    showVersions_ = SettingsStore::boolForKey(SettingsStore::showBrowserVersion);

    connect(menu_->addAction(tr("Quit")), &QAction::triggered, qApp, &QCoreApplication::quit);
    connect(menu_->addAction(tr("Settings…")), &QAction::triggered, this, &MenuBarContent::settingsRequested);
    connect(menu_->addAction(tr("Send Feedback")), &QAction::triggered, this,
            &MenuBarContent::feedbackRequested);
    connect(menu_->addAction(tr("About")), &QAction::triggered, this, &MenuBarContent::aboutRequested);
    menu_->addSeparator();
    heading_ = menu_->addAction(tr("Change default browser to"));
    heading_->setEnabled(false);
    listEnd_ = menu_->addSeparator();
    connect(menu_->addAction(tr("Refresh list")), &QAction::triggered, this, &MenuBarContent::reloadBrowsers);
    rebuildRows();
}

MenuBarContent::~MenuBarContent() {
    delete menu_;
}

void MenuBarContent::reloadBrowsers() {
    browsers_ = installedBrowsers();
    showVersions_ = SettingsStore::boolForKey(SettingsStore::showBrowserVersion);
    rebuildRows();
}

void MenuBarContent::selectBrowser(const DefaultBrowser& browser) {
    const bool autoConfirm = SettingsStore::boolForKey(SettingsStore::autoConfirmChange);
    try {
        browser.setAsDefault(autoConfirm);
    } catch (const LaunchServices::Error& error) {
        platform::printLine(QStringLiteral("Error setting browser: ") + error.description());
        notifySwitchFailure(browser, error);
        return;
    }
    reloadBrowsers();
}

void MenuBarContent::rebuildRows() {
    // A row may be rebuilt from its own triggered signal, so old rows go away later.
    for (QAction* old : std::as_const(rowActions_)) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    rowActions_.clear();
    for (const DefaultBrowser& browser : browsers_) {
        QAction* action = nullptr;
        if (showVersions_ && !plainRows_) {
            action = new MenuRowAction(browser, menu_);
        } else {
            action = new QAction(browser.appIcon, QString(), menu_);
            // Names are verbatim; an ampersand must not turn into a keyboard mnemonic.
            action->setText(
                BrowserRowLabel::plainText(browser, showVersions_).replace('&', QStringLiteral("&&")));
        }
        action->setData(browser.id());
        // The row acts on the record it was built from, whatever happens to the list meanwhile.
        connect(action, &QAction::triggered, this, [this, browser] { selectBrowser(browser); });
        menu_->insertAction(listEnd_, action);
        rowActions_ << action;
    }
}

} // namespace Tolvane
