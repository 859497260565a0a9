// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Name.h"

#include <QObject>

namespace GlobalKeys {

inline constexpr char shortcutByNameDidChangeNotification[] = "GlobalKeys_shortcutByNameDidChange";

// The process-wide announcer of stored-shortcut changes; emitted synchronously after each write.
class Notifier : public QObject {
    Q_OBJECT
public:
    static Notifier& instance();

signals:
    void shortcutByNameDidChange(const GlobalKeys::Name& name);
};

inline Notifier& notifier() {
    return Notifier::instance();
}

} // namespace GlobalKeys
