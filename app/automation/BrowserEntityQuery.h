// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserEntity.h"

#include <QList>
#include <QStringList>

namespace Tolvane {

// Lists the installed browsers as entities and turns stored identifiers back into them.
// Stateless: every call discovers the browsers again. Callable from any thread.
struct BrowserEntityQuery {
    // Entities whose id is one of `identifiers`, in the catalogue's order, each at most once;
    // identifiers that match nothing are dropped.
    QList<BrowserEntity> entities(const QStringList& identifiers) const;
    // One entity per installed browser, in the catalogue's order.
    QList<BrowserEntity> suggestedEntities() const;
};

} // namespace Tolvane
