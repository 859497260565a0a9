// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierItem.h"

#include "ExportedTrayMenu.h"
#include "StatusNotifierItemDBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTray, "app.tolvane.Tolvane.tray")

namespace Tolvane {
namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString menuPath = QStringLiteral("/MenuBar");

} // namespace

StatusNotifierItem::StatusNotifierItem(const QString& title, const QIcon& icon, QMenu* menu, QObject* parent)
    : QObject(parent), title_(title), icon_(icon), menu_(new ExportedTrayMenu(menu, this)),
      dbus_(new StatusNotifierItemDBus(this, menuPath)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // The watcher lives in the panel (or the desktop's shell): it comes and goes with it.
    auto* watcher =
        new QDBusServiceWatcher(watcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty())
                    watcherGone();
                else
                    watcherAppeared(false);
            });
    // A watcher may be up before any host draws its items, and outlive them (Plasma's shell restarting).
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(watcherService, watcherPath, watcherService, QLatin1String(signal), this,
                    SLOT(hostsChanged()));
    // On the bus before any watcher: a watcher that looks for items on the bus by itself when it
    // starts (GNOME's) then finds this one under the name it is registered by, not as a second item
    // under another name of the connection.
    publish();
    if (bus.interface()->isServiceRegistered(watcherService))
        watcherAppeared(/*wait=*/true);
}

StatusNotifierItem::~StatusNotifierItem() {
    if (!published_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(itemPath);
    bus.unregisterService(service_);
}

void StatusNotifierItem::setToolTipText(const QString& text) {
    if (text == toolTipText_)
        return;
    toolTipText_ = text;
    emit toolTipChanged();
}

bool StatusNotifierItem::publish() {
    if (published_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Hosts find the item at its service name's standard path.
    service_ = QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid());
    if (!bus.registerService(service_) ||
        !bus.registerObject(itemPath, dbus_, QDBusConnection::ExportAdaptors) || !menu_->publish(menuPath)) {
        qCWarning(lcTray, "Could not put the tray item on the session bus: %s",
                  qPrintable(bus.lastError().message()));
        return false;
    }
    published_ = true;
    return true;
}

void StatusNotifierItem::watcherAppeared(bool wait) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!publish())
        return;
    setSettling(true);
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << service_;
    if (wait) {
        // At start the answer decides whether Tolvane needs another way to be seen; it is quick.
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (itemRegistered(reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage() : QString()))
            hostRegistered(true);
        else
            setSettling(false);
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* reply) {
        reply->deleteLater();
        if (itemRegistered(reply->isError() ? reply->error().message() : QString()))
            hostRegistered(false);
        else
            setSettling(false);
    });
}

bool StatusNotifierItem::itemRegistered(const QString& error) {
    if (!error.isNull()) {
        qCWarning(lcTray, "The tray's watcher refused the item: %s", qPrintable(error));
        return false;
    }
    qCInfo(lcTray, "Tray item registered with the watcher");
    return true;
}

void StatusNotifierItem::hostRegistered(bool wait) {
    if (!published_)
        return;
    setSettling(true);
    QDBusMessage get = QDBusMessage::createMethodCall(watcherService, watcherPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    // A watcher that does not say is taken to have its host with it, as panels that embed one do.
    const auto answer = [this](const QDBusPendingReply<QDBusVariant>& value) {
        setShown(value.isError() || value.value().variant().toBool());
        setSettling(false);
    };
    if (wait) {
        answer(QDBusPendingReply<QDBusVariant>(QDBusConnection::sessionBus().call(get, QDBus::Block, 5000)));
        return;
    }
    auto* pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [answer](QDBusPendingCallWatcher* reply) {
        reply->deleteLater();
        answer(*reply);
    });
}

void StatusNotifierItem::watcherGone() {
    qCInfo(lcTray, "The tray's watcher went away; waiting for it to come back");
    setShown(false);
    setSettling(false);
}

void StatusNotifierItem::setShown(bool shown) {
    if (shown_ == shown)
        return;
    shown_ = shown;
    emit shownChanged(shown);
}

void StatusNotifierItem::setSettling(bool settling) {
    if (settling_ == settling)
        return;
    settling_ = settling;
    // The other kind of icon was held back meanwhile; it may be wanted now.
    if (!settling)
        emit shownChanged(shown_);
}

} // namespace Tolvane
