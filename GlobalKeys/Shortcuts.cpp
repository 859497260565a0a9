// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shortcuts.h"

#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/Notifier.h"
#include "GlobalKeys/Testing.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

#include <unordered_map>

namespace GlobalKeys {
namespace {

using HandlerTable = std::unordered_map<Name, std::vector<Action>>;
using StreamTable = std::unordered_map<Name, std::map<QUuid, Action>>;

struct Tables {
    std::unordered_set<Shortcut> registeredShortcuts;
    HandlerTable keyDownHandlers;
    HandlerTable keyUpHandlers;
    StreamTable streamKeyDownHandlers;
    StreamTable streamKeyUpHandlers;
    bool isPaused = false;
    std::unordered_map<Name, QString> descriptions;
};

Tables& tables() {
    static Tables t;
    return t;
}

void dispatchShortcut(const Shortcut& shortcut, const HandlerTable& handlers, const StreamTable& streams) {
    if (tables().isPaused)
        return;
    // Copies: an action may add handlers or end streams while we walk the tables.
    const HandlerTable handlersNow = handlers;
    for (const auto& [name, actions] : handlersNow)
        if (getShortcut(name) == shortcut)
            for (const auto& action : actions)
                action();
    const StreamTable streamsNow = streams;
    for (const auto& [name, callbacks] : streamsNow)
        if (getShortcut(name) == shortcut)
            for (const auto& [id, callback] : callbacks)
                callback();
}

CarbonGlobalKeys::Registration registerShortcut(const Shortcut& shortcut) {
    // An entry left waiting by an earlier refusal is replaced, not doubled (it would fire twice).
    CarbonGlobalKeys::unregisterHotKey(shortcut);
    const auto result = CarbonGlobalKeys::registerHotKey(shortcut, dispatchKeyDown, dispatchKeyUp);
    if (result == CarbonGlobalKeys::Registration::registered)
        tables().registeredShortcuts.insert(shortcut);
    return result;
}

void unregisterShortcut(const Shortcut& shortcut) {
    CarbonGlobalKeys::unregisterHotKey(shortcut);
    tables().registeredShortcuts.erase(shortcut);
}

void registerIfNeeded(const Name& name) {
    if (const auto shortcut = getShortcut(name); shortcut && !tables().registeredShortcuts.count(*shortcut))
        registerShortcut(*shortcut);
}

std::unordered_set<Shortcut> storedShortcutsOf(const auto& first, const auto& second) {
    std::unordered_set<Shortcut> shortcuts;
    for (const auto* table : {&first, &second})
        for (const auto& entry : *table)
            if (const auto shortcut = getShortcut(entry.first))
                shortcuts.insert(*shortcut);
    return shortcuts;
}

std::unordered_set<Shortcut> handlerShortcuts() {
    return storedShortcutsOf(tables().keyDownHandlers, tables().keyUpHandlers);
}

std::unordered_set<Shortcut> streamShortcuts() {
    return storedShortcutsOf(tables().streamKeyDownHandlers, tables().streamKeyUpHandlers);
}

void onMainQueue(std::function<void()> work) {
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
    else
        work();
}

void post(const Name& name) {
    emit notifier().shortcutByNameDidChange(name);
}

std::unique_ptr<EventStream> makeStream(const Name& name, std::optional<EventType> only) {
    const QUuid id = QUuid::createUuid();
    auto buffer = std::make_shared<EventStream::Buffer>();
    buffer->only = only;
    const std::weak_ptr<EventStream::Buffer> weak = buffer;
    onMainQueue([name, id, weak] {
        auto& t = tables();
        t.streamKeyDownHandlers[name][id] = [weak] {
            if (auto b = weak.lock())
                b->yield(EventType::keyDown);
        };
        t.streamKeyUpHandlers[name][id] = [weak] {
            if (auto b = weak.lock())
                b->yield(EventType::keyUp);
        };
        registerIfNeeded(name);
    });
    return std::make_unique<EventStream>(id, buffer, [name, id] {
        onMainQueue([name, id] {
            auto& t = tables();
            for (auto* table : {&t.streamKeyDownHandlers, &t.streamKeyUpHandlers}) {
                if (auto it = table->find(name); it != table->end()) {
                    it->second.erase(id);
                    // An empty entry would keep the name's hot key alive for good.
                    if (it->second.empty())
                        table->erase(it);
                }
            }
            const auto shortcut = getShortcut(name);
            if (shortcut && !handlerShortcuts().count(*shortcut) && !streamShortcuts().count(*shortcut))
                unregisterShortcut(*shortcut);
        });
    });
}

} // namespace

QString userDefaultsKey(const Name& name) {
    return QStringLiteral("GlobalKeys_") + name.rawValue;
}

namespace {
std::function<QString()>& userDefaultsFile() {
    static std::function<QString()> file;
    return file;
}
} // namespace

void setUserDefaultsFile(std::function<QString()> path) {
    userDefaultsFile() = std::move(path);
}

QString userDefaultsPath() {
    if (const auto& file = userDefaultsFile())
        return file();
    // Asked anew each time: QSettings would keep the first folder it saw for the whole process.
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QLatin1Char('/') +
           QCoreApplication::applicationName() + QStringLiteral(".conf");
}

std::optional<Shortcut> getShortcut(const Name& name) {
    QSettings defaults(userDefaultsPath(), QSettings::IniFormat);
    const QVariant value = defaults.value(userDefaultsKey(name));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return Shortcut::fromJson(value.toString().toUtf8());
}

void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    if (shortcut) {
        const QString text = QString::fromUtf8(shortcut->toJson());
        if (text.isEmpty())
            return;
        if (const auto old = getShortcut(name))
            unregisterShortcut(*old);
        if (!tables().registeredShortcuts.count(*shortcut))
            registerShortcut(*shortcut);
        {
            QSettings defaults(userDefaultsPath(), QSettings::IniFormat);
            defaults.setValue(userDefaultsKey(name), text);
        }
        post(name);
        return;
    }
    const auto old = getShortcut(name);
    if (!old)
        return;
    {
        QSettings defaults(userDefaultsPath(), QSettings::IniFormat);
        if (name.defaultShortcut)
            defaults.setValue(userDefaultsKey(name), false);
        else
            defaults.remove(userDefaultsKey(name));
    }
    unregisterShortcut(*old);
    post(name);
}

bool setShortcutIfRegistered(const Shortcut& shortcut, const Name& name) {
    if (!tables().registeredShortcuts.count(shortcut) &&
        registerShortcut(shortcut) == CarbonGlobalKeys::Registration::refused) {
        CarbonGlobalKeys::unregisterHotKey(shortcut);
        return false;
    }
    setShortcut(shortcut, name);
    return true;
}

void reset(const QList<Name>& names) {
    for (const Name& name : names) {
        if (name.defaultShortcut) {
            setShortcut(name.defaultShortcut, name);
        } else if (const auto shortcut = getShortcut(name)) {
            {
                QSettings defaults(userDefaultsPath(), QSettings::IniFormat);
                defaults.remove(userDefaultsKey(name));
            }
            unregisterShortcut(*shortcut);
            post(name);
        }
    }
}

void enableShortcuts(const QList<Name>& names) {
    for (const Name& name : names)
        registerIfNeeded(name);
}

void disableShortcuts(const QList<Name>& names) {
    for (const Name& name : names)
        if (const auto shortcut = getShortcut(name))
            unregisterShortcut(*shortcut);
}

void addKeyDownHandler(const Name& name, Action action) {
    tables().keyDownHandlers[name].push_back(std::move(action));
    registerIfNeeded(name);
}

void addKeyUpHandler(const Name& name, Action action) {
    tables().keyUpHandlers[name].push_back(std::move(action));
    registerIfNeeded(name);
}

void removeAllHandlers() {
    const auto streams = streamShortcuts();
    for (const Shortcut& shortcut : handlerShortcuts())
        if (!streams.count(shortcut))
            unregisterShortcut(shortcut);
    tables().keyDownHandlers.clear();
    tables().keyUpHandlers.clear();
}

std::unique_ptr<EventStream> eventStream(const Name& name) {
    return makeStream(name, std::nullopt);
}
std::unique_ptr<EventStream> eventStream(const Name& name, EventType type) {
    return makeStream(name, type);
}

bool isPaused() {
    return tables().isPaused;
}
void setPaused(bool paused) {
    tables().isPaused = paused;
}

const std::unordered_set<Shortcut>& registeredShortcuts() {
    return tables().registeredShortcuts;
}

std::optional<Name> nameOf(const Shortcut& shortcut) {
    const auto& t = tables();
    std::optional<Name> found;
    const auto consider = [&](const auto& table) {
        for (const auto& entry : table)
            if ((!found || entry.first.rawValue < found->rawValue) && getShortcut(entry.first) == shortcut)
                found = entry.first;
    };
    consider(t.keyDownHandlers);
    consider(t.keyUpHandlers);
    consider(t.streamKeyDownHandlers);
    consider(t.streamKeyUpHandlers);
    return found;
}

void setDescription(const Name& name, const QString& description) {
    tables().descriptions[name] = description;
}

QString description(const Name& name) {
    const auto& descriptions = tables().descriptions;
    const auto it = descriptions.find(name);
    return it == descriptions.end() ? name.rawValue : it->second;
}

void dispatchKeyDown(const Shortcut& shortcut) {
    dispatchShortcut(shortcut, tables().keyDownHandlers, tables().streamKeyDownHandlers);
}

void dispatchKeyUp(const Shortcut& shortcut) {
    dispatchShortcut(shortcut, tables().keyUpHandlers, tables().streamKeyUpHandlers);
}

Name::Name(QString raw) : rawValue(std::move(raw)) {
    CarbonGlobalKeys::installMenuTrackingObservers();
}

Name::Name(QString raw, std::optional<Shortcut> defaultValue)
    : rawValue(std::move(raw)), defaultShortcut(defaultValue) {
    if (defaultShortcut) {
        const bool present =
            QSettings(userDefaultsPath(), QSettings::IniFormat).contains(userDefaultsKey(*this));
        if (!present)
            setShortcut(defaultShortcut, *this);
    }
    CarbonGlobalKeys::installMenuTrackingObservers();
}

Notifier& Notifier::instance() {
    static Notifier* notifier = new Notifier; // lives for the process, like the notification center
    return *notifier;
}

void EventStream::Buffer::yield(EventType type) {
    if (only && *only != type)
        return;
    events.push_back(type);
    if (owner)
        emit owner->eventAvailable();
}

EventStream::EventStream(QUuid id, std::shared_ptr<Buffer> buffer, std::function<void()> onEnd)
    : id_(id), buffer_(std::move(buffer)), onEnd_(std::move(onEnd)) {
    buffer_->owner = this;
}

EventStream::~EventStream() {
    buffer_->owner = nullptr;
    buffer_.reset();
    if (onEnd_)
        onEnd_();
}

std::optional<EventType> EventStream::next() {
    if (buffer_->events.empty())
        return std::nullopt;
    const EventType type = buffer_->events.front();
    buffer_->events.pop_front();
    return type;
}

void testing::resetState() {
    auto& t = tables();
    for (const auto& [id, hotKey] : std::map(CarbonGlobalKeys::hotKeys()))
        CarbonGlobalKeys::unregisterHotKey(hotKey->shortcut);
    t = Tables{};
    CarbonGlobalKeys::setEnabled(true);
}

} // namespace GlobalKeys
