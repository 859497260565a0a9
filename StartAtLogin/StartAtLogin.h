// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace StartAtLogin {

class Observable;

// Whether the application starts at login, asked of the login-item service at every call.
// "Requires approval" reads as off.
bool isLoginItemEnabled();

// Turns launching at login on or off. Every switch re-reads the state afterwards; a failure is
// logged ("com.quellmark.StartAtLogin.main") and goes no further.
void setLoginItemEnabled(bool enabled);

// The one observable every switch follows by default, made on first use and kept for the process.
Observable& sharedObservable();

// Whether this process was started by the login-item mechanism.
bool launchedAsLoginItem();

} // namespace StartAtLogin
