// SPDX-License-Identifier: GPL-3.0-or-later
// What the link picker offers, gathered away from the GUI thread so the window shows at once.
#pragma once

#include "app/core/ListedBrowsers.h"

#include <QList>
#include <QString>

namespace Tolvane {

struct PickerChoices {
    QList<ListedBrowser> browsers; // in the menu's order
    QString chosenDesktopId;       // the default browser, empty when none is set

    // Callable from any thread.
    static PickerChoices load();
    // Index of the default browser in `browsers`, or -1.
    qsizetype chosenIndex() const;
};

} // namespace Tolvane
