// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

#include <functional>

// How long a real service (X server, bus, portal, the program under test) may take to come up on a
// loaded machine. A start that fails shows sooner: the process ends.
inline constexpr int serviceStartMs = 60000;

// Polls `ready` until it holds (true), `process` ends or `timeoutMs` pass (false).
bool waitForService(const std::function<bool()>& ready, QProcess& process, int timeoutMs = serviceStartMs);
