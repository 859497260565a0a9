// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkTargets.h"

#include "BrowserRowLabel.h"
#include "LinkDecision.h"

#include <QComboBox>
#include <QCoreApplication>

namespace Tolvane {
namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::LinkTargets", text);
}

} // namespace

LinkTargets::LinkTargets(QList<ListedBrowser> browsers) : browsers_(std::move(browsers)) {}

const ListedBrowser* LinkTargets::find(const QString& desktopId) const {
    for (const ListedBrowser& listed : browsers_)
        if (listed.desktopId == desktopId)
            return &listed;
    return nullptr;
}

QString LinkTargets::name(const QString& target) const {
    if (target == askTarget)
        return tr("Ask each time");
    const ListedBrowser* listed = find(target);
    if (!listed)
        return tr("%1 (not installed)").arg(target);
    // Two copies of one browser read alike by name alone.
    for (const ListedBrowser& other : browsers_)
        if (&other != listed && other.browser.appName == listed->browser.appName)
            return BrowserRowLabel::plainText(listed->browser, true);
    return listed->browser.appName;
}

QIcon LinkTargets::icon(const QString& target) const {
    const ListedBrowser* listed = find(target);
    return listed ? QIcon(listed->browser.appIcon) : QIcon();
}

void LinkTargets::fill(QComboBox* combo, const QString& current) const {
    combo->clear();
    if (!current.isEmpty() && current != askTarget && !isInstalled(current))
        combo->addItem(name(current), current);
    for (const ListedBrowser& listed : browsers_)
        combo->addItem(icon(listed.desktopId), name(listed.desktopId), listed.desktopId);
    combo->addItem(name(askTarget), askTarget);
    combo->setCurrentIndex(std::max(0, combo->findData(current)));
}

} // namespace Tolvane
