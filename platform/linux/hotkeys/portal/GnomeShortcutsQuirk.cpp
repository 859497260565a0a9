// SPDX-License-Identifier: GPL-3.0-or-later
#include "GnomeShortcutsQuirk.h"

#include <QDBusMessage>
#include <QLoggingCategory>
#include <QSet>
#include <QVariantMap>

Q_DECLARE_LOGGING_CATEGORY(lcPortalKeys)

namespace platform::linux_::gnomeShortcutsQuirk {

QString triggerKeys(const QString& description) {
    const qsizetype bracket = description.indexOf(QLatin1Char('<'));
    return bracket > 0 ? description.mid(bracket) : description;
}

void registerHostApp(const QDBusConnection& bus, const QString& portalService, const QString& portalPath,
                     const QString& appId) {
    static QSet<QString> registered; // per connection: a second call is an error
    if (registered.contains(bus.name()))
        return;
    registered.insert(bus.name());
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath,
                                                       QStringLiteral("org.freedesktop.host.portal.Registry"),
                                                       QStringLiteral("Register"));
    call << appId << QVariantMap();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    static const QSet<QString> absent = {QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                         QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                                         QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
                                         QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown")};
    if (!absent.contains(reply.errorName()))
        qCInfo(lcPortalKeys).noquote()
            << "the portal did not take Tolvane's application id:" << reply.errorMessage();
}

} // namespace platform::linux_::gnomeShortcutsQuirk
