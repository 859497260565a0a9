// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace Tolvane {

// Ends a service the bus started once nobody uses it: `quiet` after the last call, with no window
// open and no reply still being worked on, it emits idle(). The bus starts it again on the next call.
class ServiceIdleTimer : public QObject {
    Q_OBJECT
public:
    explicit ServiceIdleTimer(std::chrono::milliseconds quiet, QObject* parent = nullptr);

    // A minute, as activated services wait; TOLVANE_SERVICE_IDLE_MS shortens it for tests.
    static std::chrono::milliseconds configuredQuietTime();

public slots:
    // A call came in: the quiet time starts again.
    void restart();

signals:
    void idle();

private:
    void expired();

    QTimer timer_;
};

} // namespace Tolvane
