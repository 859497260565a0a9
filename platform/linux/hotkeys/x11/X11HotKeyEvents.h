// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "XkbSession.h"
#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"
#include "platform/linux/hotkeys/HotKeyHandler.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <set>
#include <vector>

class QSocketNotifier;
struct xkb_keymap;

namespace platform::linux_ {

// Hot keys as passive key grabs on the X root window, read on a dedicated connection.
// A Carbon key code names a position, so it becomes the XKB key name and then the keycode of the
// current keymap; the grabs are redone when the keymap changes.
class X11HotKeyEvents : public QObject, public HandlerHotKeyEvents, public HotKeyStatus {
public:
    explicit X11HotKeyEvents(std::shared_ptr<XkbSessionProvider> sessions, int debounceMs = 100);
    ~X11HotKeyEvents() override;

    OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID id,
                                 EventHotKeyRef* out) override;
    OSStatus unregisterEventHotKey(EventHotKeyRef ref) override;
    // Tries the grab and lets it go at once.
    bool heldByAnotherProgram(std::uint32_t keyCode, std::uint32_t modifiers) override;

    // Keymap changes handled, and how many of them moved a grabbed key (for tests and diagnostics).
    int keymapRefreshes() const { return keymapRefreshes_; }
    int regrabCount() const { return regrabCount_; }

private:
    struct Grab {
        std::uint32_t carbonKeyCode;
        std::uint32_t carbonModifiers;
        EventHotKeyID id;
        std::uint8_t keycode = 0; // 0 when the current keymap has no such key
        std::uint16_t modifiers = 0;
    };

    bool ensureReady();
    // True once the X connection is gone; says so in the log the first time.
    bool connectionLost();
    void refreshKeymap();
    void findLockMasks();
    std::vector<std::uint16_t> lockCombinations() const;
    std::uint8_t keycodeFor(std::uint32_t carbonKeyCode) const;
    bool grab(std::uint8_t keycode, std::uint16_t modifiers);
    void ungrab(std::uint8_t keycode, std::uint16_t modifiers);
    bool sharedByAnother(EventHotKeyRef ref, const Grab& grab) const;
    void drainEvents();
    void scheduleDrain();
    void handleEvent(const void* event);
    void regrabAll();

    std::shared_ptr<XkbSessionProvider> sessions_;
    XkbSession* session_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::uint16_t numLockMask_ = 0;
    std::uint16_t scrollLockMask_ = 0;
    std::map<EventHotKeyRef, Grab> grabs_;
    // Keycode held down -> its hot key. Kept across re-grabs: the release still ends the press.
    std::map<std::uint8_t, EventHotKeyID> pressed_;
    EventHotKeyRef nextRef_ = 0;
    QTimer keymapDebounce_;
    int keymapRefreshes_ = 0;
    int regrabCount_ = 0;
    bool lossReported_ = false;
};

} // namespace platform::linux_
