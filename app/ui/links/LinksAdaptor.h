// SPDX-License-Identifier: GPL-3.0-or-later
// The link picker on the bus: the router hands links whose rule says "ask" to the running Tolvane.
#pragma once

#include "LinksIntrospection.h"

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QStringList>

namespace Tolvane {

class LinkAsker;

// Served beside the automation interface on its object, which must be registered with its adaptors
// exported. Ask answers as soon as the links are taken, before the picker shows: from then on they
// are this process's to open, so a caller that times out knows nobody took them.
class LinksAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.tolvane.Tolvane.Links1")
    Q_CLASSINFO("D-Bus Introspection", TOLVANE_LINKS1_INTROSPECTION)

public:
    static constexpr const char* cannotAskError = "app.tolvane.Tolvane.Error.CannotAsk";

    // Attaches to the object `registered` (before its bus name is claimed, or in the same turn of
    // the event loop) and asks with its own picker.
    explicit LinksAdaptor(QObject* registered);
    LinkAsker* asker() const { return asker_; }

signals:
    // A call came or a picker closed: a bus-started service is in use.
    void activity();

public slots:
    // The call comes as the last argument: Qt gives an adaptor no QDBusContext of its own.
    void Ask(const QStringList& urls, const QString& activationToken, const QDBusMessage& call);

private:
    LinkAsker* asker_;
};

} // namespace Tolvane
