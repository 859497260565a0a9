// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Hands links whose rule says "ask" to the running Tolvane's picker (starting Tolvane when none runs).
class LinkAsking {
public:
    virtual ~LinkAsking() = default;
    // True once the picker holds them; false when nothing took them.
    virtual bool ask(const QStringList& links, const QString& activationToken) = 0;
};

} // namespace platform
