// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QByteArray>
#include <QString>

namespace Tolvane {

// An installed browser as the automation service lists, shows and hands it back.
struct BrowserEntity {
    QString id;
    QString displayName;
    QString displaySubtitle;
    QByteArray image; // PNG bytes of the icon; empty when the icon cannot be drawn

    // What the automation service shows for one entity: the name only, with the icon.
    struct DisplayRepresentation {
        QString title;
        QString subtitle;
        QByteArray image;
    };

    static QString typeDisplayName() { return QStringLiteral("A browser"); }
    DisplayRepresentation displayRepresentation() const { return {displayName, QString(), image}; }

    // Reads "settings.settingsShowBrowserVersion" anew for each entity. Callable from any thread:
    // the icon is drawn on the GUI thread.
    static BrowserEntity from(const DefaultBrowser& browser);

    friend bool operator==(const BrowserEntity&, const BrowserEntity&) = default;
};

// PNG bytes of `icon`, drawn on the GUI thread whichever thread asks; empty when it cannot be drawn
// (null icon, no GUI application, or the application is shutting down).
QByteArray iconPng(const QIcon& icon);

// From the moment the application's event loop is told to quit, drawing is refused and workers
// stop waiting for it. Call once on the GUI thread before any worker asks for an icon.
void stopDrawingIconsAtQuit();

} // namespace Tolvane
