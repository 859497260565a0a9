// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers of web links and web pages as one store, changed together with files of the caller's
// in one all-or-nothing step: what link routing needs so that its record never disagrees with them.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace platform {

class WebDefaults {
public:
    virtual ~WebDefaults() = default;

    // Tolvane's own handler of web links.
    static inline const QString routerId = QStringLiteral("app.tolvane.Tolvane.Router.desktop");

    // Held while a caller reads and then changes: other switches, in this process or another, wait.
    class Hold {
    public:
        virtual ~Hold() = default;
    };
    // None, and failureReason(), when the lock cannot be taken.
    virtual std::unique_ptr<Hold> hold() = 0;

    // The entry (desktop-file ID) that opens `type` now, Tolvane's own handler included; none when
    // nothing installed does.
    virtual std::optional<QString> handlerOf(const QString& type) = 0;
    // Whether Tolvane's handler of web links runs `program` and falls back to `browser` as written.
    virtual bool routerCurrent(const QString& program, const QString& browser) = 0;
    // Whether `id` names an installed application that opens links itself.
    virtual bool opensLinks(const QString& id) = 0;
    // The Exec value of `id`'s entry, string escapes undone; none when not installed.
    virtual std::optional<QString> commandOf(const QString& id) = 0;

    struct Step {
        enum class Links {
            keep,      // links stay with their handler; only pages move to `browser`
            toBrowser, // links and pages to `browser`
            toRouter,  // links to Tolvane's own handler, which falls back to `browser`
        };
        Links links = Links::keep;
        QString browser;  // a desktop-file ID; empty with keep: no switch at all, only the files
        QUrl application; // where `browser` is listed, when the caller knows
        QString program;  // with toRouter: the program the handler runs
        // The files written in the same step (before the stores), given the ID `browser` resolved to.
        std::function<QList<std::pair<QString, QByteArray>>(const QString& resolvedId)> files;
    };
    // Makes the step under the caller's hold: HandlerService::noErr, else a negative status,
    // failureReason(), and nothing changed. `resolvedId` gets the desktop-file ID `browser` named.
    virtual int apply(const Step& step, QString* resolvedId) = 0;

    virtual QString failureReason() const = 0;
};

} // namespace platform
