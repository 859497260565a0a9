// SPDX-License-Identifier: GPL-3.0-or-later
#include "Observable.h"

#include "StartAtLogin.h"

namespace StartAtLogin {

bool Observable::isLoginItemEnabled() const {
    return StartAtLogin::isLoginItemEnabled();
}

void Observable::setLoginItemEnabled(bool enabled) {
    StartAtLogin::setLoginItemEnabled(enabled);
}

} // namespace StartAtLogin
