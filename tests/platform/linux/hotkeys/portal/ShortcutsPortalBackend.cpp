// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop's side of the GlobalShortcuts portal for tests: the real xdg-desktop-portal frontend
// talks to it as to any back end; the test drives it (presses, refusals, reassigned triggers) and
// reads what was bound through a control object.
#include "platform/linux/hotkeys/portal/PortalShortcut.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>

#include <cstdio>
#include <map>
#include <utility>

using platform::linux_::PortalShortcut;
using platform::linux_::PortalShortcuts;

namespace {

class Backend;

// One session the frontend opened on the desktop's side; the frontend closes it through this.
class Session : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.Session")
public:
    Session(QString path, std::function<void(const QString&)> onClose)
        : path_(std::move(path)), onClose_(std::move(onClose)) {}
public slots:
    void Close() { onClose_(path_); }
signals:
    void Closed();

private:
    QString path_;
    std::function<void(const QString&)> onClose_;
};

class Backend : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    uint version() const { return 1; }

    uint bindResponse = 0;
    bool bindListsShortcuts = true;      // false: answers like a back end that ignored the list
    std::map<QString, QString> assigned; // id -> trigger the "desktop" chooses instead
    QJsonArray binds;
    std::map<QString, std::unique_ptr<Session>> sessions;
    QString lastBoundSession;
    int closed = 0;

    void emitEvent(bool down, const QString& id) {
        if (lastBoundSession.isEmpty())
            return; // nothing bound: the desktop has nobody to tell
        const qulonglong now = QDateTime::currentMSecsSinceEpoch();
        if (down)
            emit Activated(QDBusObjectPath(lastBoundSession), id, now, {});
        else
            emit Deactivated(QDBusObjectPath(lastBoundSession), id, now, {});
    }
    void changeTrigger(const QString& id, const QString& text) {
        emit ShortcutsChanged(QDBusObjectPath(lastBoundSession),
                              {PortalShortcut{id, {{"description", id}, {"trigger_description", text}}}});
    }

public slots:
    uint CreateSession(const QDBusObjectPath&, const QDBusObjectPath& session, const QString&,
                       const QVariantMap&, QVariantMap& results) {
        const QString path = session.path();
        auto object = std::make_unique<Session>(path, [this](const QString& closing) {
            QDBusConnection::sessionBus().unregisterObject(closing);
            ++closed;
            sessions.erase(closing);
        });
        QDBusConnection::sessionBus().registerObject(
            path, object.get(), QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
        sessions[path] = std::move(object);
        results.insert("session_handle", path);
        return 0;
    }

    uint BindShortcuts(const QDBusObjectPath&, const QDBusObjectPath& session,
                       const platform::linux_::PortalShortcuts& shortcuts, const QString&, const QVariantMap&,
                       QVariantMap& results) {
        QJsonArray asked;
        PortalShortcuts answer;
        for (const auto& s : shortcuts) {
            asked.append(
                QJsonObject{{"id", s.id},
                            {"description", s.properties.value("description").toString()},
                            {"preferred_trigger", s.properties.value("preferred_trigger").toString()}});
            const auto reassigned = assigned.find(s.id);
            const QString trigger = reassigned != assigned.end()
                                        ? reassigned->second
                                        : s.properties.value("preferred_trigger").toString();
            answer.append(
                {s.id,
                 {{"description", s.properties.value("description")}, {"trigger_description", trigger}}});
        }
        binds.append(QJsonObject{{"session", session.path()}, {"shortcuts", asked}});
        // GNOME 48 answers an approved bind with 2 and the list; a refusal has no list.
        if (bindResponse != 0 && bindResponse != 2)
            return bindResponse;
        if (bindListsShortcuts) {
            lastBoundSession = session.path();
            results.insert("shortcuts", QVariant::fromValue(answer));
        } else {
            results.insert("shortcuts", QVariant::fromValue(PortalShortcuts{}));
        }
        return bindResponse;
    }

    uint ListShortcuts(const QDBusObjectPath&, const QDBusObjectPath&, QVariantMap& results) {
        results.insert("shortcuts", QVariant::fromValue(PortalShortcuts{}));
        return 0;
    }

signals:
    void Activated(const QDBusObjectPath& session_handle, const QString& shortcut_id, qulonglong timestamp,
                   const QVariantMap& options);
    void Deactivated(const QDBusObjectPath& session_handle, const QString& shortcut_id, qulonglong timestamp,
                     const QVariantMap& options);
    void ShortcutsChanged(const QDBusObjectPath& session_handle,
                          const platform::linux_::PortalShortcuts& shortcuts);
};

class Control : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.tolvane.test.ShortcutsBackend")
public:
    explicit Control(Backend* backend) : backend_(backend) {}
public slots:
    void Press(const QString& id) { backend_->emitEvent(true, id); }
    void Release(const QString& id) { backend_->emitEvent(false, id); }
    void SetBindResponse(uint response) { backend_->bindResponse = response; }
    void AssignTrigger(const QString& id, const QString& trigger) { backend_->assigned[id] = trigger; }
    void ChangeTrigger(const QString& id, const QString& trigger) { backend_->changeTrigger(id, trigger); }
    // Every BindShortcuts seen, oldest first, as JSON.
    QString Binds() {
        return QString::fromUtf8(QJsonDocument(backend_->binds).toJson(QJsonDocument::Compact));
    }
    void SetBindListsShortcuts(bool lists) { backend_->bindListsShortcuts = lists; }
    // The desktop ends every open session on its own (the user removed the shortcuts, say).
    void CloseSessions() {
        for (auto& [path, session] : std::exchange(backend_->sessions, {})) {
            // Sent by hand: Qt relays no signal of an object registered again at a path it had used.
            QDBusConnection::sessionBus().send(
                QDBusMessage::createSignal(path, "org.freedesktop.impl.portal.Session", "Closed"));
            QDBusConnection::sessionBus().unregisterObject(path);
        }
        backend_->lastBoundSession.clear();
    }
    int OpenSessions() { return int(backend_->sessions.size()); }
    int ClosedSessions() { return backend_->closed; }

private:
    Backend* backend_;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::linux_::registerPortalShortcutTypes();
    const QString busName = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                     : QStringLiteral("org.freedesktop.impl.portal.desktop.tolvanetest");
    auto bus = QDBusConnection::sessionBus();
    Backend backend;
    Control control(&backend);
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                          QDBusConnection::ExportAllProperties;
    if (!bus.registerObject("/org/freedesktop/portal/desktop", &backend, exported) ||
        !bus.registerObject("/control", &control, exported) || !bus.registerService(busName)) {
        std::fprintf(stderr, "cannot offer %s on the session bus\n", qPrintable(busName));
        return 1;
    }
    return app.exec();
}

#include "ShortcutsPortalBackend.moc"
