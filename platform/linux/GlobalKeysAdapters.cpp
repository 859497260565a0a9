#include "GlobalKeysAdapters.h"

#include "DesktopKeyBindings.h"
#include "X11HotKeyEvents.h"
#include "XkbKeyboardLayout.h"
#include "platform/Services.h"

namespace platform::linux_ {

void installGlobalKeysAdapters() {
    // Separate connections: the layout's round trips must not pull hot-key events off the grab
    // connection behind its socket notifier's back.
    install<HotKeyEvents>(std::make_shared<X11HotKeyEvents>(std::make_shared<XkbSessionProvider>()));
    install<KeyboardLayout>(std::make_shared<XkbKeyboardLayout>(std::make_shared<XkbSessionProvider>()));
    install<SymbolicHotKeys>(std::make_shared<DesktopKeyBindings>());
}

} // namespace platform::linux_
