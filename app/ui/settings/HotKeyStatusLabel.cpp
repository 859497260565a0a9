// SPDX-License-Identifier: GPL-3.0-or-later
#include "HotKeyStatusLabel.h"

#include "GlobalKeys/Notifier.h"
#include "GlobalKeys/Shortcuts.h"
#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"
#include "platform/Services.h"

#include <QPointer>

namespace Tolvane {

HotKeyStatusLabel::HotKeyStatusLabel(GlobalKeys::Name name, QWidget* parent)
    : QLabel(parent), name_(std::move(name)) {
    setObjectName(QStringLiteral("globalShortcutStatus"));
    setWordWrap(true);
    if (platform::has<platform::HotKeyEvents>()) {
        // Key grabs deliver what was asked: they install no status of their own.
        port_ = platform::has<platform::HotKeyStatus>() ? platform::get<platform::HotKeyStatus>()
                                                        : std::make_shared<platform::HotKeyStatus>();
        // The desktop answers later than the window opens, and may change its mind.
        observer_ = port_->addStatusObserver([self = QPointer<HotKeyStatusLabel>(this)] {
            if (self)
                self->refresh();
        });
    }
    connect(&GlobalKeys::notifier(), &GlobalKeys::Notifier::shortcutByNameDidChange, this,
            [this](const GlobalKeys::Name& changed) {
                if (changed == name_)
                    refresh();
            });
    refresh();
}

HotKeyStatusLabel::~HotKeyStatusLabel() {
    if (port_)
        port_->removeStatusObserver(observer_);
}

void HotKeyStatusLabel::refresh() {
    QString text;
    if (!port_ || !port_->canDeliverGlobalHotKeys()) {
        text = tr("Global shortcuts are not available on this desktop.");
    } else if (const auto shortcut = GlobalKeys::getShortcut(name_)) {
        const auto keyCode = std::uint32_t(shortcut->carbonKeyCode);
        const auto modifiers = std::uint32_t(shortcut->carbonModifiers);
        const QString assigned = port_->assignedTrigger(keyCode, modifiers);
        if (port_->refusedByDesktop(keyCode, modifiers))
            text = tr("The desktop did not take this shortcut. Choose another key to try again.");
        else if (!assigned.isEmpty())
            text = tr("The desktop assigned %1 to this shortcut.").arg(assigned);
    }
    setText(text);
    setVisible(!text.isEmpty());
}

} // namespace Tolvane
