// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop lets a window take the focus only with a token from the click that led to it; programs
// read that token from their environment, so it is put there for the one launch that needs it.
#pragma once

#include <QByteArray>

#include <optional>

namespace Tolvane {

// Sets XDG_ACTIVATION_TOKEN for its lifetime and then puts back what was there. An empty token
// changes nothing. Only on the GUI thread, where the launches that read it run.
class ActivationTokenScope {
public:
    explicit ActivationTokenScope(const QByteArray& token);
    ~ActivationTokenScope();
    ActivationTokenScope(const ActivationTokenScope&) = delete;
    ActivationTokenScope& operator=(const ActivationTokenScope&) = delete;

private:
    bool set_ = false;
    std::optional<QByteArray> before_;
};

} // namespace Tolvane
