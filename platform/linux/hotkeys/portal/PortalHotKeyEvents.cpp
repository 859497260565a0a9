// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortalHotKeyEvents.h"

#include "BuildInfo.h"
#include "GnomeShortcutsQuirk.h"
#include "PlasmaShortcutsQuirk.h"
#include "PortalParentWindow.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcPortalKeys, "GlobalKeys.portal")

namespace platform::linux_ {
namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
// Handed to a request's callback when the call itself failed (already logged).
constexpr uint callFailed = 1000;

// Waits for one Request's Response signal; deletes itself after it (or with its owner).
class PortalRequest : public QObject {
    Q_OBJECT
public:
    PortalRequest(QObject* owner, QString portalOwner, std::function<void(uint, const QVariantMap&)> done)
        : QObject(owner), portalOwner_(std::move(portalOwner)), done_(std::move(done)) {}
    void finish(uint response, const QVariantMap& results) {
        auto done = std::move(done_);
        deleteLater();
        if (done)
            done(response, results);
    }
public slots:
    void onResponse(const QDBusMessage& message) {
        const auto args = message.arguments();
        if (message.service() != portalOwner_ || args.size() < 2)
            return;
        finish(args[0].toUInt(), qdbus_cast<QVariantMap>(args[1]));
    }

private:
    QString portalOwner_;
    std::function<void(uint, const QVariantMap&)> done_;
};

// Request and session paths of one connection must not repeat, across adapters too.
QString nextToken() {
    static int counter = 0;
    return QStringLiteral("tolvane%1").arg(++counter);
}

// The unique name as it appears in request and session paths: ":1.42" -> "1_42".
QString senderPathPart(const QDBusConnection& bus) {
    return bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

PortalShortcuts shortcutsIn(const QVariant& value) {
    if (value.canConvert<PortalShortcuts>() && value.userType() == qMetaTypeId<PortalShortcuts>())
        return value.value<PortalShortcuts>();
    PortalShortcuts shortcuts;
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        value.value<QDBusArgument>() >> shortcuts;
    return shortcuts;
}

// Upper-case tokens with modifiers in a fixed order; accepts "Ctrl+Alt+B", "CTRL+ALT+b",
// "<Control><Alt>b" and "Press <Control><Alt>b".
QStringList triggerTokens(QString text) {
    text = gnomeShortcutsQuirk::triggerKeys(text);
    text.replace(QLatin1Char('<'), QString()).replace(QLatin1Char('>'), QStringLiteral("+"));
    static const std::map<QString, QString> aliases = {
        {"CTRL", "CTRL"},   {"CONTROL", "CTRL"}, {"PRIMARY", "CTRL"}, {"ALT", "ALT"},   {"OPTION", "ALT"},
        {"SHIFT", "SHIFT"}, {"LOGO", "LOGO"},    {"SUPER", "LOGO"},   {"META", "LOGO"}, {"WIN", "LOGO"}};
    QStringList modifiers, keys;
    for (const QString& part : text.split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        const QString token = part.trimmed().toUpper();
        const auto alias = aliases.find(token);
        if (alias != aliases.end())
            modifiers << alias->second;
        else if (!token.isEmpty())
            keys << token;
    }
    modifiers.sort();
    modifiers.removeDuplicates();
    return modifiers + keys;
}

bool listsAll(const PortalShortcuts& listed, const std::set<QString>& asked) {
    std::set<QString> ids;
    for (const auto& s : listed)
        ids.insert(s.id);
    return !asked.empty() && std::includes(ids.begin(), ids.end(), asked.begin(), asked.end());
}

} // namespace

const QString PortalHotKeyEvents::service = QStringLiteral("org.freedesktop.portal.Desktop");

bool PortalHotKeyEvents::portalAnswers(const QDBusConnection& bus, QString* why) {
    if (!bus.isConnected()) {
        *why = QStringLiteral("no session bus");
        return false;
    }
    gnomeShortcutsQuirk::registerHostApp(bus, service, portalPath, QStringLiteral(TOLVANE_APP_ID));
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    // Starting the portal on demand can take a moment; a desktop without it answers at once.
    const QDBusMessage reply = bus.call(get, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    *why = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return false;
}

PortalHotKeyEvents::PortalHotKeyEvents(const QDBusConnection& bus, Labeler labeler, TriggerNamer triggerNamer)
    : bus_(bus), labeler_(std::move(labeler)), triggerNamer_(std::move(triggerNamer)) {
    registerPortalShortcutTypes();
    watcher_ = new QDBusServiceWatcher(service, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                if (!oldOwner.isEmpty())
                    portalGone();
                portalOwner_ = newOwner;
                if (!newOwner.isEmpty())
                    portalBack();
            });
    if (bus_.interface())
        portalOwner_ = bus_.interface()->serviceOwner(service).value();
    portalPresent_ = !portalOwner_.isEmpty();
    // Matched on any sender and checked against the owner we track: Qt's own sender matching keeps
    // the owner it saw first, and a restarted portal has another one.
    for (const auto& [name, slot] : {std::pair{"Activated", SLOT(onActivated(QDBusMessage))},
                                     std::pair{"Deactivated", SLOT(onDeactivated(QDBusMessage))},
                                     std::pair{"ShortcutsChanged", SLOT(onShortcutsChanged(QDBusMessage))}})
        bus_.connect(QString(), portalPath, shortcutsInterface, QLatin1String(name), this, slot);
}

PortalHotKeyEvents::~PortalHotKeyEvents() {
    closeSession();
}

OSStatus PortalHotKeyEvents::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                 EventHotKeyID id, EventHotKeyRef* out) {
    *out = ++nextRef_;
    registered_[*out] = {keyCode, modifiers, id};
    scheduleSync();
    return noErr;
}

OSStatus PortalHotKeyEvents::unregisterEventHotKey(EventHotKeyRef ref) {
    const auto it = registered_.find(ref);
    if (it == registered_.end())
        return eventHotKeyInvalidErr;
    // A release that no longer reaches anyone must not leave the key marked as held.
    for (const auto& [id, wanted] : attempted_.value_or(WantedSet{}))
        if (wanted.keyCode == it->second.keyCode && wanted.modifiers == it->second.modifiers)
            pressed_.erase(id);
    registered_.erase(it);
    scheduleSync();
    return noErr;
}

void PortalHotKeyEvents::setHeld(bool held) {
    // A key cleared while held (Backspace in the recorder) is let go of once the hold ends.
    if (std::exchange(held_, held) && !held)
        scheduleSync();
}

PortalHotKeyEvents::WantedSet PortalHotKeyEvents::wanted() const {
    WantedSet set;
    for (const auto& [ref, r] : registered_) {
        const Label label = labeler_(r.keyCode, r.modifiers);
        set.emplace(label.id,
                    Wanted{r.keyCode, r.modifiers, label.description, triggerNamer_(r.keyCode, r.modifiers)});
    }
    return set;
}

// Registrations arrive one by one (and a change is an unregister plus a register): bind once they
// have all been made.
void PortalHotKeyEvents::scheduleSync() {
    if (std::exchange(syncQueued_, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            syncQueued_ = false;
            sync();
        },
        Qt::QueuedConnection);
}

void PortalHotKeyEvents::sync() {
    if (working_) {
        dirty_ = true;
        return;
    }
    const WantedSet set = wanted();
    if (!portalPresent_ || set == attempted_)
        return;
    if (set.empty()) {
        // Paused: mute, keep the desktop's binding for when the same set comes back.
        if (held_ || !attempted_)
            return;
        // Given up (the last shortcut cleared, its feature switched off): the desktop lets go of the key.
        closeSession();
        attempted_.reset();
        notifyStatus();
        return;
    }
    closeSession();
    attempted_ = set;
    closedByDesktop_ = 0;
    working_ = true;
    createSession();
}

PortalShortcuts PortalHotKeyEvents::asked() const {
    PortalShortcuts shortcuts;
    for (const auto& [id, w] : *attempted_)
        shortcuts.append({id,
                          {{QStringLiteral("description"), w.description},
                           {QStringLiteral("preferred_trigger"), w.trigger}}});
    return shortcuts;
}

void PortalHotKeyEvents::createSession() {
    const int generation = generation_;
    // The new session takes the old one's handle, and the portal handles calls in threads: the old one
    // must be gone before the new one is asked for.
    if (closing_ && !closing_->isFinished()) {
        connect(closing_, &QDBusPendingCallWatcher::finished, this, [this, generation] {
            if (generation == generation_)
                createSession();
        });
        return;
    }
    QVariantMap options{{QStringLiteral("session_handle_token"), plasmaShortcutsQuirk::sessionHandleToken}};
    plasmaShortcutsQuirk::offerAtCreateSession(options, asked());
    request(QStringLiteral("CreateSession"), {}, options,
            [this, generation](uint response, const QVariantMap& results) {
                if (generation != generation_)
                    return;
                // The 1.16 frontend answers with a string, later ones with an object path.
                const QVariant handle = results.value(QStringLiteral("session_handle"));
                const QString path = handle.userType() == qMetaTypeId<QDBusObjectPath>()
                                         ? handle.value<QDBusObjectPath>().path()
                                         : handle.toString();
                if (response != 0 || path.isEmpty()) {
                    if (response != callFailed)
                        qCWarning(lcPortalKeys)
                            << "the desktop did not open a global-shortcuts session; response" << response;
                    finish();
                    return;
                }
                openSession(path);
                // Bound with the session already: binding again would only bother the user.
                if (takeBound(results)) {
                    finish();
                    return;
                }
                if (plasmaShortcutsQuirk::listBeforeBinding())
                    bindUnlessListed(path);
                else
                    bind(path);
            });
}

void PortalHotKeyEvents::bindUnlessListed(const QString& sessionPath) {
    const int generation = generation_;
    request(QStringLiteral("ListShortcuts"), {QVariant::fromValue(QDBusObjectPath(sessionPath))}, {},
            [this, generation, sessionPath](uint response, const QVariantMap& results) {
                if (generation != generation_)
                    return;
                if (response == 0 && takeBound(results)) {
                    finish();
                    return;
                }
                bind(sessionPath);
            });
}

void PortalHotKeyEvents::bind(const QString& sessionPath) {
    const int generation = generation_;
    request(QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(sessionPath)), QVariant::fromValue(asked()),
             portalParentWindow()},
            {}, [this, generation](uint response, const QVariantMap& results) {
                if (generation != generation_)
                    return;
                if (!gnomeShortcutsQuirk::bound(response, takeBound(results))) {
                    if (response != callFailed)
                        qCWarning(lcPortalKeys).noquote()
                            << (response == 0   ? "the desktop answered without binding the global shortcuts"
                                : response == 1 ? "the desktop refused the global shortcuts"
                                                : "binding the global shortcuts failed or was cancelled")
                            << QStringLiteral("(response %1); they stay inactive until they change")
                                   .arg(response);
                    closeSession();
                }
                finish();
            });
}

bool PortalHotKeyEvents::takeBound(const QVariantMap& results) {
    const PortalShortcuts listed = shortcutsIn(results.value(QStringLiteral("shortcuts")));
    std::set<QString> asked;
    for (const auto& [id, w] : *attempted_)
        asked.insert(id);
    if (!listsAll(listed, asked))
        return false;
    bound_ = asked;
    takeTriggers(listed);
    return true;
}

void PortalHotKeyEvents::finish() {
    working_ = false;
    notifyStatus();
    if (std::exchange(dirty_, false))
        sync();
}

void PortalHotKeyEvents::openSession(const QString& path) {
    session_ = path;
    bus_.connect(QString(), session_, sessionInterface, QStringLiteral("Closed"), this,
                 SLOT(onSessionClosed(QDBusMessage)));
}

void PortalHotKeyEvents::closeSession() {
    if (session_.isEmpty())
        return;
    const QString path = session_;
    dropSession();
    auto* closing =
        new QDBusPendingCallWatcher(bus_.asyncCall(QDBusMessage::createMethodCall(
                                        service, path, sessionInterface, QStringLiteral("Close"))),
                                    this);
    connect(closing, &QDBusPendingCallWatcher::finished, closing, &QObject::deleteLater);
    closing_ = closing;
}

void PortalHotKeyEvents::dropSession() {
    if (!session_.isEmpty())
        bus_.disconnect(QString(), session_, sessionInterface, QStringLiteral("Closed"), this,
                        SLOT(onSessionClosed(QDBusMessage)));
    session_.clear();
    bound_.clear();
    pressed_.clear();
    triggerDescriptions_.clear();
}

void PortalHotKeyEvents::onSessionClosed(const QDBusMessage& message) {
    if (message.service() != portalOwner_ || session_.isEmpty() || message.path() != session_)
        return;
    ++generation_; // a bind in flight was for the closed session
    qDeleteAll(findChildren<PortalRequest*>());
    working_ = dirty_ = false;
    dropSession();
    if (++closedByDesktop_ > 1) {
        qCWarning(lcPortalKeys)
            << "the desktop closed the global-shortcuts session again; they stay inactive until they change";
        notifyStatus();
        return;
    }
    qCInfo(lcPortalKeys) << "the desktop closed the global-shortcuts session; binding again";
    const int closed = closedByDesktop_;
    attempted_.reset();
    sync();
    closedByDesktop_ = closed;
}

void PortalHotKeyEvents::portalGone() {
    if (!portalPresent_)
        return;
    portalPresent_ = false;
    if (attempted_)
        qCWarning(lcPortalKeys)
            << "the GlobalShortcuts portal went away; global shortcuts stop until it returns";
    ++generation_; // answers to calls in flight will never come
    dropSession();
    attempted_.reset();
    working_ = dirty_ = false;
    qDeleteAll(findChildren<PortalRequest*>());
    notifyStatus();
}

void PortalHotKeyEvents::portalBack() {
    portalPresent_ = true;
    notifyStatus();
    sync();
}

void PortalHotKeyEvents::request(const QString& method, const QList<QVariant>& arguments, QVariantMap options,
                                 std::function<void(uint, const QVariantMap&)> done) {
    const QString token = nextToken();
    const QString path =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(senderPathPart(bus_), token);
    auto* pending = new PortalRequest(this, portalOwner_, std::move(done));
    // Subscribed before the call, so a fast answer cannot be missed.
    bus_.connect(QString(), path, requestInterface, QStringLiteral("Response"), pending,
                 SLOT(onResponse(QDBusMessage)));
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(service, portalPath, shortcutsInterface, method);
    call.setArguments(arguments + QList<QVariant>{options});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), pending);
    connect(watcher, &QDBusPendingCallWatcher::finished, pending,
            [this, pending = QPointer<PortalRequest>(pending), method, path](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (!w->isError())
                    return;
                qCWarning(lcPortalKeys).noquote()
                    << "the GlobalShortcuts portal rejected" << method << ":" << w->error().message();
                bus_.disconnect(QString(), path, requestInterface, QStringLiteral("Response"), pending,
                                SLOT(onResponse(QDBusMessage)));
                // Ends the attempt like a refusal; the set is tried again when it changes.
                pending->finish(callFailed, {});
            });
}

void PortalHotKeyEvents::takeTriggers(const PortalShortcuts& shortcuts) {
    for (const auto& s : shortcuts) {
        const QVariant text = s.properties.value(QStringLiteral("trigger_description"));
        if (text.isValid())
            triggerDescriptions_[s.id] = text.toString();
    }
}

QString PortalHotKeyEvents::assignedTrigger(std::uint32_t keyCode, std::uint32_t modifiers) const {
    if (!attempted_)
        return {};
    for (const auto& [id, w] : *attempted_) {
        if (w.keyCode != keyCode || w.modifiers != modifiers)
            continue;
        const auto it = triggerDescriptions_.find(id);
        if (it != triggerDescriptions_.end() && !sameTrigger(it->second, w.trigger))
            return readableTrigger(it->second);
    }
    return {};
}

bool PortalHotKeyEvents::refusedByDesktop(std::uint32_t keyCode, std::uint32_t modifiers) const {
    if (!attempted_ || working_)
        return false;
    for (const auto& [id, w] : *attempted_)
        if (w.keyCode == keyCode && w.modifiers == modifiers && !bound_.count(id))
            return true;
    return false;
}

bool PortalHotKeyEvents::sameTrigger(const QString& described, const QString& preferred) {
    return triggerTokens(described) == triggerTokens(preferred);
}

QString PortalHotKeyEvents::readableTrigger(const QString& described) {
    if (!described.contains(QLatin1Char('<')))
        return described;
    static const std::map<QString, QString> names = {
        {"CTRL", "Ctrl"}, {"ALT", "Alt"}, {"SHIFT", "Shift"}, {"LOGO", "Super"}};
    QStringList parts;
    QStringList tokens = triggerTokens(described);
    // Shown in the order desktops write them.
    const QStringList order = {"CTRL", "ALT", "SHIFT", "LOGO"};
    std::stable_sort(tokens.begin(), tokens.end(), [&](const QString& a, const QString& b) {
        const auto rank = [&](const QString& t) {
            return order.contains(t) ? order.indexOf(t) : order.size();
        };
        return rank(a) < rank(b);
    });
    for (const QString& token : tokens) {
        const auto name = names.find(token);
        parts << (name != names.end() ? name->second
                  : token.size() == 1 ? token
                                      : token.left(1) + token.mid(1).toLower());
    }
    return parts.join(QLatin1Char('+'));
}

void PortalHotKeyEvents::onShortcutsChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (!fromSession(message))
        return;
    takeTriggers(shortcutsIn(args[1]));
    notifyStatus();
}

bool PortalHotKeyEvents::fromSession(const QDBusMessage& message) const {
    const auto args = message.arguments();
    return message.service() == portalOwner_ && !session_.isEmpty() && args.size() >= 2 &&
           args[0].value<QDBusObjectPath>().path() == session_;
}

void PortalHotKeyEvents::onActivated(const QDBusMessage& message) {
    deliver(true, message);
}

void PortalHotKeyEvents::onDeactivated(const QDBusMessage& message) {
    deliver(false, message);
}

void PortalHotKeyEvents::deliver(bool down, const QDBusMessage& message) {
    if (!fromSession(message) || !attempted_)
        return;
    const QString id = message.arguments().at(1).toString();
    const auto bound = attempted_->find(id);
    if (bound == attempted_->end())
        return;
    std::vector<EventHotKeyID> targets;
    for (const auto& [ref, r] : registered_)
        if (r.keyCode == bound->second.keyCode && r.modifiers == bound->second.modifiers)
            targets.push_back(r.id);
    const std::uint32_t kind = down ? kEventHotKeyPressed : kEventHotKeyReleased;
    const bool handled = handler_.handles(kind);
    if (down) {
        closedByDesktop_ = 0; // the binding works: a later close is news again
        // Muted (paused, menu open): the press is not ours, and neither is its release.
        // A desktop that repeats the press while the key is held is ignored too.
        if (targets.empty() || !handled || !pressed_.insert(id).second)
            return;
    } else if (!pressed_.erase(id) || !handled) {
        return;
    }
    for (const EventHotKeyID target : targets)
        handler_.deliver(kind, target);
}

int PortalHotKeyEvents::addStatusObserver(std::function<void()> changed) {
    observers_[++nextObserver_] = std::move(changed);
    return nextObserver_;
}

void PortalHotKeyEvents::removeStatusObserver(int token) {
    observers_.erase(token);
}

void PortalHotKeyEvents::notifyStatus() {
    const auto observers = observers_;
    for (const auto& [token, changed] : observers)
        changed();
}

} // namespace platform::linux_

#include "PortalHotKeyEvents.moc"
