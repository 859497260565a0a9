// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QList>
#include <QString>

namespace Tolvane {

// A browser of the catalogue with the desktop file ID a user sees in their system.
struct ListedBrowser {
    DefaultBrowser browser;
    QString desktopId; // e.g. "firefox-esr.desktop"
};

// The installed browsers in the menu's order.
QList<ListedBrowser> listedBrowsers();

// The browsers that `wanted` names, tried in this order until something matches: the automation id
// (an outdated one of an updated browser too),
// the desktop file ID (".desktop" optional; exact spelling before any case), the name in any case.
// One entry is a match; several mean `wanted` is ambiguous; none, that it names nothing.
QList<ListedBrowser> browsersNamed(const QList<ListedBrowser>& browsers, const QString& wanted);

} // namespace Tolvane
