// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace StartAtLogin {

// The login-item state as an object switches can follow. It stores nothing: reads and writes go
// to the login-item service through StartAtLogin::isLoginItemEnabled.
class Observable : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isLoginItemEnabled READ isLoginItemEnabled WRITE setLoginItemEnabled)
public:
    using QObject::QObject;

    bool isLoginItemEnabled() const;
    void setLoginItemEnabled(bool enabled);

signals:
    // Sent before every change; followers read the state again once it is done.
    void objectWillChange();
};

} // namespace StartAtLogin
