// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Named shortcuts: storage in the standard defaults, the handlers run when a hot key fires, and the
// bookkeeping that keeps the system-wide registrations in step.
#include "GlobalKeys/EventStream.h"
#include "GlobalKeys/Name.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <unordered_set>

namespace GlobalKeys {

using Action = std::function<void()>;

// The defaults key of a name: "GlobalKeys_" + rawValue.
QString userDefaultsKey(const Name& name);
// The standard defaults file where shortcuts are kept: the file the application hands over, asked
// anew each time (its folder may follow the environment); without one, <application>.conf in the
// application's config folder.
QString userDefaultsPath();
void setUserDefaultsFile(std::function<QString()> path);

// Reads and decodes the stored entry every time; anything but a shortcut's JSON text gives none.
std::optional<Shortcut> getShortcut(const Name& name);
// Stores (registering the new hot key) or clears the name's shortcut, then announces the change.
void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
// The recorder's store: only when the system takes the hot key now. False, with nothing changed,
// when it refuses (another program holds the key); without a working hot-key service it just stores.
bool setShortcutIfRegistered(const Shortcut& shortcut, const Name& name);
void reset(const QList<Name>& names);
void enableShortcuts(const QList<Name>& names);
void disableShortcuts(const QList<Name>& names);

void addKeyDownHandler(const Name& name, Action action);
void addKeyUpHandler(const Name& name, Action action);
// Drops every key-down and key-up action; hot keys still used by event streams stay registered.
void removeAllHandlers();

// Events of the name's hot key until the stream is destroyed; the variant yields one type only.
std::unique_ptr<EventStream> eventStream(const Name& name);
std::unique_ptr<EventStream> eventStream(const Name& name, EventType type);

// While paused (the recorder is listening) no action or stream sees a hot key.
bool isPaused();
void setPaused(bool paused);

// Shortcuts whose hot key the system took through the calls above (refused ones are not counted).
const std::unordered_set<Shortcut>& registeredShortcuts();

// The name whose actions or streams the registered shortcut serves (the first by raw value when
// several share it); none when no name stores it.
std::optional<Name> nameOf(const Shortcut& shortcut);
// A readable text for what the name's shortcut does, shown by desktops that list global shortcuts.
void setDescription(const Name& name, const QString& description);
QString description(const Name& name);

// The dispatch run for a fired hot key; exposed for benchmarks and adapters' tests.
void dispatchKeyDown(const Shortcut& shortcut);
void dispatchKeyUp(const Shortcut& shortcut);

} // namespace GlobalKeys
