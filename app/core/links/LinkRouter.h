// SPDX-License-Identifier: GPL-3.0-or-later
// What happens to the links a click hands to Tolvane: each decided by the rules, sent on in order,
// and never dropped: a rule's browser that cannot start, a broken rules file, a lost record or a
// picker nobody answers all end in a browser, and the user is told once why.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace Tolvane::links {

class LinkRouter {
public:
    // The ways out, given by the caller (the command line in the handler).
    struct Doors {
        // Opens `links` in the entry `desktopId`; `last` may take this process's place. False with
        // `error` when it cannot.
        std::function<bool(const QStringList& links, const QString& desktopId, bool last, QString* error)>
            open;
        // Hands `links` to the picker; true once the picker holds them.
        std::function<bool(const QStringList& links)> ask;
        // A line for standard error, written out before anything else happens.
        std::function<void(const QString& line)> tell;
        // A desktop notification; false when none could be shown.
        std::function<bool(const QString& summary, const QString& body)> notify;
    };
    enum class Result { opened, someRefused, failed };

    explicit LinkRouter(Doors doors);
    // With no link, starts the browser links go to by default.
    Result route(const QStringList& links);

private:
    // Says `why` on standard error, and once per reason as a notification.
    void sayOnce(const QString& why);

    Doors doors_;
};

} // namespace Tolvane::links
