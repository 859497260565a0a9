// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PortalShortcut.h"
#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"
#include "platform/linux/hotkeys/HotKeyHandler.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <set>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace platform::linux_ {

// Hot keys through the desktop's org.freedesktop.portal.GlobalShortcuts (Wayland sessions).
// The portal binds a whole set per session, asynchronously, and the desktop may ask the user, so
// registrations are collected and bound together once control returns to the event loop; a changed
// set closes the session and binds the new set in a fresh one. A set is bound when the desktop's
// answer lists it, whatever the answer's code; otherwise it stays unbound until it changes or the
// portal restarts. Unregistering everything while held (an open menu, a disabled registry) only
// mutes delivery; otherwise an empty set closes the session, so the desktop lets go of the keys.
class PortalHotKeyEvents : public QObject, public HandlerHotKeyEvents, public HotKeyStatus {
    Q_OBJECT
public:
    // How the desktop lists one hot key: a stable id (kept across restarts, so the desktop keeps the
    // user's approval) and a readable description.
    struct Label {
        QString id;
        QString description;
    };
    using Labeler = std::function<Label(std::uint32_t keyCode, std::uint32_t modifiers)>;
    // The preferred trigger in the portal's format, e.g. "CTRL+ALT+b".
    using TriggerNamer = std::function<QString(std::uint32_t keyCode, std::uint32_t modifiers)>;

    static const QString service;

    // Whether the bus offers the portal with the GlobalShortcuts interface (activating it when needed);
    // `why` says what is missing otherwise. First tells a portal that asks (1.19 and later) which
    // application this connection is.
    static bool portalAnswers(const QDBusConnection& bus, QString* why);

    PortalHotKeyEvents(const QDBusConnection& bus, Labeler labeler, TriggerNamer triggerNamer);
    ~PortalHotKeyEvents() override;

    OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID id,
                                 EventHotKeyRef* out) override;
    OSStatus unregisterEventHotKey(EventHotKeyRef ref) override;
    bool canDeliverGlobalHotKeys() const override { return portalPresent_; }
    QString assignedTrigger(std::uint32_t keyCode, std::uint32_t modifiers) const override;
    bool refusedByDesktop(std::uint32_t keyCode, std::uint32_t modifiers) const override;
    int addStatusObserver(std::function<void()> changed) override;
    void removeStatusObserver(int token) override;
    void setHeld(bool held) override;

    // True when the portal's text names the same keys as the trigger asked for ("Ctrl+Alt+B",
    // "CTRL+ALT+b" and "Press <Control><Alt>b").
    static bool sameTrigger(const QString& described, const QString& preferred);
    // The desktop's text for a trigger as the user reads it: "Press <Control><Alt>y" is "Ctrl+Alt+Y";
    // other forms are shown as given.
    static QString readableTrigger(const QString& described);

private slots:
    void onActivated(const QDBusMessage& message);
    void onDeactivated(const QDBusMessage& message);
    void onShortcutsChanged(const QDBusMessage& message);
    void onSessionClosed(const QDBusMessage& message);

private:
    struct Registration {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        EventHotKeyID id;
    };
    // What one bind asked for, keyed by portal id.
    struct Wanted {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        QString description;
        QString trigger;
        bool operator==(const Wanted&) const = default;
    };
    using WantedSet = std::map<QString, Wanted>;

    WantedSet wanted() const;
    void scheduleSync();
    void sync();
    PortalShortcuts asked() const;
    void createSession();
    void bind(const QString& sessionPath);
    // Binds unless the session already holds the set (where listing first is asked for).
    void bindUnlessListed(const QString& sessionPath);
    // Takes the desktop's answer: bound when it lists every shortcut asked for.
    bool takeBound(const QVariantMap& results);
    // Ends an attempt, bound or not, and takes up a change that came in meanwhile.
    void finish();
    void openSession(const QString& path);
    void closeSession();
    // Forgets the session and every answer about it; calls in flight are dropped.
    void dropSession();
    void portalGone();
    void portalBack();
    // Calls `method` and hands the Request's Response to `done`; subscribes before calling.
    void request(const QString& method, const QList<QVariant>& arguments, QVariantMap options,
                 std::function<void(uint, const QVariantMap&)> done);
    void takeTriggers(const PortalShortcuts& shortcuts);
    void deliver(bool down, const QDBusMessage& message);
    void notifyStatus();
    // Sent by the portal we talk to, about the session we hold.
    bool fromSession(const QDBusMessage& message) const;

    QDBusConnection bus_;
    Labeler labeler_;
    TriggerNamer triggerNamer_;
    QDBusServiceWatcher* watcher_ = nullptr;
    bool portalPresent_ = false;
    QString portalOwner_; // the portal's unique name; empty while it is gone

    std::map<EventHotKeyRef, Registration> registered_;
    EventHotKeyRef nextRef_ = 0;
    std::set<QString> pressed_; // portal ids held down

    QString session_;                           // the open session's object path; empty when none
    QPointer<QDBusPendingCallWatcher> closing_; // the last Close until the portal answers it
    std::optional<WantedSet> attempted_;        // the set the current session bound (or was refused)
    std::set<QString> bound_;                   // ids of attempted_ the desktop listed as bound
    std::map<QString, QString> triggerDescriptions_;
    bool working_ = false;
    bool dirty_ = false;
    bool syncQueued_ = false;
    bool held_ = false;
    // Sessions the desktop closed since the set last changed or fired: one is bound again, the next
    // one is left unbound, so a desktop that keeps closing them is not asked in a loop.
    int closedByDesktop_ = 0;
    int generation_ = 0;

    std::map<int, std::function<void()>> observers_;
    int nextObserver_ = 0;
};

} // namespace platform::linux_
