// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusInterface>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// The desktop side of global shortcuts on the test's private session bus: Debian's real
// xdg-desktop-portal frontend, pointed at a test back end (ShortcutsPortalBackend) through its own
// portals folder and XDG_CURRENT_DESKTOP.
class PortalDesktop {
public:
    PortalDesktop();
    ~PortalDesktop();

    bool startBackend();
    // Starts the frontend and waits until its GlobalShortcuts interface answers.
    bool startFrontend();
    // Ends the frontend and waits until its bus name is gone.
    void stopFrontend();
    bool frontendRunning() const { return frontend_.state() != QProcess::NotRunning; }

    // The back end's control object (Press, Release, SetBindResponse, SetBindListsShortcuts,
    // AssignTrigger, ChangeTrigger, CloseSessions, OpenSessions).
    QDBusInterface& control() { return *control_; }
    // Every BindShortcuts the desktop received, oldest first.
    QJsonArray binds();
    int closedSessions();
    QString frontendLog() const;

private:
    QTemporaryDir dir_;
    QProcess frontend_;
    QProcess backend_;
    std::unique_ptr<QDBusInterface> control_;
};

// Runs the event loop until `done` or the deadline; true when `done`.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000);
