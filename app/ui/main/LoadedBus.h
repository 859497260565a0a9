// SPDX-License-Identifier: GPL-3.0-or-later
// The command module's way to the session bus: the bus module beside it, loaded at the first use.
#pragma once

#include "platform/LinkAsking.h"
#include "platform/Notifications.h"

namespace Tolvane::adapters {

class LoadedBusNotifications : public platform::Notifications {
public:
    bool notify(const QString& summary, const QString& body) override;
};

class LoadedBusAsking : public platform::LinkAsking {
public:
    bool ask(const QStringList& links, const QString& activationToken) override;
};

} // namespace Tolvane::adapters
