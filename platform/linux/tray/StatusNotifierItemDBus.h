// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusNotifierTypes.h"

#include <QDBusObjectPath>
#include <QObject>

namespace Tolvane {

class StatusNotifierItem;

// The item under the names of org.kde.StatusNotifierItem, for the adaptor generated from the
// interface's XML beside it: properties read here, calls forwarded to the item, signals relayed.
class StatusNotifierItemDBus : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Category READ category CONSTANT)
    Q_PROPERTY(QString Id READ id CONSTANT)
    Q_PROPERTY(QString Title READ title CONSTANT)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(int WindowId READ windowId CONSTANT)
    Q_PROPERTY(QString IconThemePath READ empty CONSTANT)
    Q_PROPERTY(QDBusObjectPath Menu READ menu CONSTANT)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT)
    Q_PROPERTY(QString IconName READ empty CONSTANT)
    Q_PROPERTY(Tolvane::StatusNotifier::Pixmaps IconPixmap READ iconPixmap CONSTANT)
    Q_PROPERTY(QString OverlayIconName READ empty CONSTANT)
    Q_PROPERTY(Tolvane::StatusNotifier::Pixmaps OverlayIconPixmap READ noPixmaps CONSTANT)
    Q_PROPERTY(QString AttentionIconName READ empty CONSTANT)
    Q_PROPERTY(Tolvane::StatusNotifier::Pixmaps AttentionIconPixmap READ noPixmaps CONSTANT)
    Q_PROPERTY(QString AttentionMovieName READ empty CONSTANT)
    Q_PROPERTY(Tolvane::StatusNotifier::ToolTip ToolTip READ toolTip NOTIFY NewToolTip)
public:
    // `menuPath`: where the item's menu is exported.
    StatusNotifierItemDBus(StatusNotifierItem* item, const QString& menuPath);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("app.tolvane.Tolvane"); }
    QString title() const;
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString empty() const { return {}; }
    QDBusObjectPath menu() const { return menuPath_; }
    // Any click opens the menu, drawn by the host beside its icon.
    bool itemIsMenu() const { return true; }
    StatusNotifier::Pixmaps iconPixmap() const { return pixmaps_; }
    StatusNotifier::Pixmaps noPixmaps() const { return {}; }
    StatusNotifier::ToolTip toolTip() const;

    // Hosts that cannot draw the exported menu, or ignore ItemIsMenu, ask the item to.
    void ContextMenu(int x, int y);
    void Activate(int x, int y);
    void SecondaryActivate(int, int) {}
    void Scroll(int, const QString&) {}
    // Sent before Activate or the menu's event: the token lets the window a click opens take focus.
    void ProvideXdgActivationToken(const QString& token);

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    StatusNotifierItem* item_;
    QDBusObjectPath menuPath_;
    StatusNotifier::Pixmaps pixmaps_;
};

} // namespace Tolvane
