// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MimeAppsHandlerService.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"

#include <memory>

namespace platform::linux_ {

// Web links through Tolvane's own handler entry, which opens each in the browser the user's rules
// name. Turning it on is a switch to that entry through every store; the browser chosen before,
// and every browser chosen while it is on, is recorded and stays the answer to "which is the
// default browser", and the handler of web pages. Turning it off switches to that browser again.
class RoutedHandlerService : public HandlerService, public LinkRouting {
public:
    static inline const QString routerId = QStringLiteral("app.tolvane.Tolvane.Router.desktop");

    // `program` is what the handler entry runs, when no installed one is found.
    RoutedHandlerService(std::shared_ptr<MimeAppsHandlerService> switcher,
                         std::shared_ptr<DesktopEntryIndex> index, QString program);

    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) override;
    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                      const QUrl& application) override;
    std::optional<QString> defaultHandlerForURLScheme(const QString& scheme) override;
    QString failureReason() const override { return failureReason_; }

    State state() override;
    int setOn(bool on) override;

    // Where the chosen browser and whether routing was turned on are kept.
    static QString recordPath();

private:
    struct Record {
        bool route = false;
        QString chosen; // desktop-file ID
    };
    static Record read();
    bool write(const Record& record);
    std::optional<QString> actualDefault();
    int fail(int status, const QString& reason);
    // The handler entry and its script, for `program` and then the `chosen` browser; the entry's
    // path when it is new.
    bool ensureRouterEntry(const QString& chosen, QString* written);

    std::shared_ptr<MimeAppsHandlerService> switcher_;
    std::shared_ptr<DesktopEntryIndex> index_;
    QString program_;
    QString failureReason_;
};

} // namespace platform::linux_
