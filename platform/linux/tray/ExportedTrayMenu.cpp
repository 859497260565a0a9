// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportedTrayMenu.h"

#include "ExportedTrayMenuDBus.h"
#include "MenuChanges.h"

#include <QAction>
#include <QBuffer>
#include <QDBusConnection>
#include <QMenu>
#include <QTimer>

namespace Tolvane {
namespace {

QByteArray pngOf(const QIcon& icon) {
    QByteArray png;
    if (icon.isNull())
        return png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Menus draw their icons at 16 pixels; the host scales for its own density.
    icon.pixmap(16, 16).toImage().save(&buffer, "PNG");
    return png;
}

} // namespace

ExportedTrayMenu::ExportedTrayMenu(QMenu* source, QObject* parent)
    : QObject(parent), source_(source), dbus_(new ExportedTrayMenuDBus(this)) {
    new MenuChanges(
        source_, [this] { changed(); }, this);
}

ExportedTrayMenu::~ExportedTrayMenu() {
    if (!path_.isEmpty())
        QDBusConnection::sessionBus().unregisterObject(path_);
}

bool ExportedTrayMenu::publish(const QString& path) {
    if (!QDBusConnection::sessionBus().registerObject(path, dbus_, QDBusConnection::ExportAdaptors))
        return false;
    path_ = path;
    return true;
}

QString ExportedTrayMenu::dbusMenuLabel(const QString& text) {
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '&' && i + 1 < text.size()) {
            // "&&" is one ampersand; a lone "&" marks the next letter as the access key.
            if (text[++i] == '&') {
                label += '&';
                continue;
            }
            label += '_';
        }
        if (text[i] == '_')
            label += '_';
        label += text[i];
    }
    return label;
}

QVariantMap ExportedTrayMenu::properties(int id) const {
    if (id == 0)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    const QAction* action = actions_.value(id);
    if (!action)
        return {};
    QVariantMap properties;
    if (!action->isVisible())
        properties[QStringLiteral("visible")] = false;
    if (action->isSeparator()) {
        properties[QStringLiteral("type")] = QStringLiteral("separator");
        return properties;
    }
    properties[QStringLiteral("label")] = dbusMenuLabel(action->text());
    properties[QStringLiteral("enabled")] = action->isEnabled();
    if (const QByteArray png = pngOf(action->icon()); !png.isEmpty())
        properties[QStringLiteral("icon-data")] = png;
    return properties;
}

QList<int> ExportedTrayMenu::childIds(int id) {
    QList<int> children;
    if (id != 0)
        return children;
    for (QAction* action : source_->actions())
        children << idOf(action);
    return children;
}

bool ExportedTrayMenu::activate(int id) {
    QPointer<QAction> action = actions_.value(id);
    if (!action || action->isSeparator())
        return false;
    // After the reply: a row's click may replace the rows, this one included.
    QTimer::singleShot(0, this, [action] {
        if (action && action->isEnabled())
            action->trigger();
    });
    return true;
}

int ExportedTrayMenu::idOf(QAction* action) {
    if (const auto found = ids_.constFind(action); found != ids_.cend())
        return *found;
    const int id = nextId_++;
    ids_.insert(action, id);
    actions_.insert(id, action);
    connect(action, &QAction::changed, this, &ExportedTrayMenu::changed);
    connect(action, &QObject::destroyed, this, [this, action, id] {
        ids_.remove(action);
        actions_.remove(id);
    });
    return id;
}

void ExportedTrayMenu::changed() {
    if (queued_)
        return;
    queued_ = true;
    // One update for a burst of changes (a refresh replaces every row).
    QTimer::singleShot(0, this, [this] {
        queued_ = false;
        emit layoutUpdated(++revision_, 0);
    });
}

} // namespace Tolvane
