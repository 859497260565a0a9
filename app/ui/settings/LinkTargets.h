// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ListedBrowsers.h"

#include <QIcon>
#include <QList>
#include <QString>

class QComboBox;

namespace Tolvane {

// What a link rule's target reads as to a person: a listed browser's (or profile's) name and icon,
// "Ask each time", or the ID of a browser that is not installed.
class LinkTargets {
public:
    LinkTargets() = default;
    explicit LinkTargets(QList<ListedBrowser> browsers);

    const ListedBrowser* find(const QString& desktopId) const;
    bool isInstalled(const QString& desktopId) const { return find(desktopId) != nullptr; }
    QString name(const QString& target) const;
    QIcon icon(const QString& target) const;

    // Every listed browser, then "Ask each time", each item's data its target; `current` is
    // selected, and added first when it names nothing installed, so keeping a rule keeps its target.
    void fill(QComboBox* combo, const QString& current) const;

private:
    QList<ListedBrowser> browsers_;
};

} // namespace Tolvane
