// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/xdg/FilePlan.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace platform::linux_ {

// What a switch asks of every place a desktop keeps its default: this application for these types.
struct DefaultSwitch {
    QString id;        // the chosen entry's desktop-file ID, e.g. "firefox-esr.desktop"
    QString name;      // its Name, for stores that show one
    QString icon;      // its Icon value, for stores that show one
    QString execText;  // its Exec value, string escapes undone, for stores that run the command
    QStringList types; // MIME types it becomes the default for
    bool isWebBrowser; // the types are the http(s) links: browser-only stores follow too
    std::function<bool(const QString& id)> isInstalled; // as the desktops' lookups judge an ID
};

// One store of the default application (a mimeapps list, a desktop's own setting). Each reads and
// plans its edits, then checks the written result the way that store's readers do.
class DefaultStoreWriter {
public:
    virtual ~DefaultStoreWriter() = default;
    // Adds the files this store needs changed; false when one cannot be read.
    virtual bool plan(const DefaultSwitch& change, FilePlan& files) = 0;
    // After writing: does the store's reader now find the switch's application? Else why not.
    virtual bool readBack(const DefaultSwitch& change, QString* why) const = 0;
};

} // namespace platform::linux_
