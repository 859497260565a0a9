// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShortcutListener.h"

#include "GlobalKeys/Shortcuts.h"

#include <QEvent>

namespace GlobalKeys {

ShortcutListener::ShortcutListener(QWidget* widget, Name name, std::optional<EventType> only, Action action)
    : QObject(widget), name_(std::move(name)), only_(only), action_(std::move(action)) {
    widget->installEventFilter(this);
    if (widget->isVisible())
        startListening();
}

void ShortcutListener::startListening() {
    if (stream_)
        return;
    stream_ = only_ ? eventStream(name_, *only_) : eventStream(name_);
    connect(stream_.get(), &EventStream::eventAvailable, this, [this] {
        // The action may hide the widget, which ends the stream.
        while (stream_)
            if (const auto type = stream_->next())
                action_(*type);
            else
                break;
    });
}

bool ShortcutListener::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Show)
        startListening();
    else if (event->type() == QEvent::Hide)
        stream_.reset();
    return false;
}

ShortcutListener* onKeyboardShortcut(QWidget* widget, const Name& name, std::optional<EventType> only,
                                     ShortcutListener::Action action) {
    return new ShortcutListener(widget, name, only, std::move(action));
}

} // namespace GlobalKeys
