// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>

class QMenu;

namespace Tolvane {

class ExportedTrayMenu;
class StatusNotifierItemDBus;

// Tolvane's item on StatusNotifier trays (Plasma, panels of GTK desktops, waybar). Registers with
// the watcher whenever one appears, so a panel that starts after Tolvane, or restarts, shows it.
// The host draws the exported menu itself, also on a left click, since only it knows where its
// icon is.
class StatusNotifierItem : public QObject {
    Q_OBJECT
public:
    StatusNotifierItem(const QString& title, const QIcon& icon, QMenu* menu, QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Registered with a watcher that has a host drawing items.
    bool shown() const { return shown_; }
    // A watcher is there and has not yet said whether a host draws the item: no other icon may come
    // and go meanwhile.
    bool settling() const { return settling_; }

    QString title() const { return title_; }
    QIcon icon() const { return icon_; }
    // The second line of the tooltip hosts show over the icon.
    QString toolTipText() const { return toolTipText_; }
    void setToolTipText(const QString& text);

signals:
    void shownChanged(bool shown);
    // The host asked the item to show its menu itself, at `pos` on the screen.
    void menuRequested(QPoint pos);
    void toolTipChanged();
    // A host handed over the token of the click that reached the item, for the window it opens.
    void activationTokenProvided(const QString& token);

private slots:
    void hostsChanged() { hostRegistered(false); }

private:
    // Puts the item and its menu on the session bus; false when the bus refused.
    bool publish();
    // `wait`: block for the answers (at start only).
    void watcherAppeared(bool wait);
    bool itemRegistered(const QString& error);
    void hostRegistered(bool wait);
    void watcherGone();
    void setShown(bool shown);
    void setSettling(bool settling);

    QString title_;
    QIcon icon_;
    QString toolTipText_;
    ExportedTrayMenu* menu_;
    // What hosts read and call, under the interface's names.
    StatusNotifierItemDBus* dbus_;
    QString service_;
    bool published_ = false;
    bool shown_ = false;
    bool settling_ = false;
};

} // namespace Tolvane
