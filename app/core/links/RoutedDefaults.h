// SPDX-License-Identifier: GPL-3.0-or-later
// The default browser while links may go by rules: the browser the user chose stays "the default"
// for every question, whoever holds the links; turning routing on or off and choosing a browser are
// each one all-or-nothing step that writes the stores and the record together, under the switch's
// lock, so no click ever finds routing on without a browser behind it.
#pragma once

#include "ChosenBrowserRecord.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"
#include "platform/WebDefaults.h"

#include <memory>
#include <mutex>

namespace Tolvane::links {

class RoutedDefaults : public platform::HandlerService, public platform::LinkRouting {
public:
    // `plain` answers for other schemes; `web` is the same store seen as one step; `program` is what
    // Tolvane's handler of web links runs.
    RoutedDefaults(std::shared_ptr<platform::HandlerService> plain,
                   std::shared_ptr<platform::WebDefaults> web, QString program);

    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) override;
    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                      const QUrl& application) override;
    std::optional<QString> defaultHandlerForURLScheme(const QString& scheme) override;
    QString failureReason() const override;

    State state() override;
    int setOn(bool on) override;
    int mendHandler() override;
    std::optional<QString> linksGoTo(QString* standIn) override;

private:
    // The browser behind the handler, and why it is not the one recorded when it is not.
    struct Chosen {
        QString id;    // empty: no browser at all
        QString stand; // why another browser stands in for the recorded one; empty when none does
    };
    // Unlocked variants: the callers hold `mutex_`.
    Chosen chosenLocked(const ChosenBrowserRecord& record);
    std::optional<QString> linksHandler();
    int fail(int status, const QString& reason);

    std::shared_ptr<platform::HandlerService> plain_;
    std::shared_ptr<platform::WebDefaults> web_;
    QString program_;
    // The GUI thread and the pool (the picker's choices) share this object.
    mutable std::recursive_mutex mutex_;
    QString failureReason_;
};

} // namespace Tolvane::links
