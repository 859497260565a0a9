// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/EventStream.h"
#include "GlobalKeys/Name.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace GlobalKeys {

// Runs an action for the events of a name's hot key while a widget is shown: the event stream lives
// from the widget's show to its hide (or destruction). Owned by the widget.
class ShortcutListener : public QObject {
public:
    using Action = std::function<void(EventType)>;

    ShortcutListener(QWidget* widget, Name name, std::optional<EventType> only, Action action);
    bool isListening() const { return stream_ != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startListening();
    Name name_;
    std::optional<EventType> only_;
    Action action_;
    std::unique_ptr<EventStream> stream_;
};

// Attaches a listener to the widget (see ShortcutListener); `only` limits it to key-down or key-up.
ShortcutListener* onKeyboardShortcut(QWidget* widget, const Name& name, std::optional<EventType> only,
                                     ShortcutListener::Action action);

} // namespace GlobalKeys
