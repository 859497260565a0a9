// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LinkRouting.h"

#include <QObject>

namespace Tolvane {

// Notices when a browser takes web links back from Tolvane's handler (its own "make default", a
// package update) while link rules are on, and offers to turn them on again.
class RoutingWatch : public QObject {
    Q_OBJECT
public:
    explicit RoutingWatch(QObject* parent = nullptr);

public slots:
    // Looks again; call it whenever the defaults may have changed.
    void recheck();

private:
    platform::LinkRouting::State last_;
};

} // namespace Tolvane
