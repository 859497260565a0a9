// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActivationTokenScope.h"

#include <QtGlobal>

namespace Tolvane {
namespace {

constexpr const char* variable = "XDG_ACTIVATION_TOKEN";

} // namespace

ActivationTokenScope::ActivationTokenScope(const QByteArray& token) {
    if (token.isEmpty())
        return;
    if (qEnvironmentVariableIsSet(variable))
        before_ = qgetenv(variable);
    qputenv(variable, token);
    set_ = true;
}

ActivationTokenScope::~ActivationTokenScope() {
    if (!set_)
        return;
    if (before_)
        qputenv(variable, *before_);
    else
        qunsetenv(variable);
}

} // namespace Tolvane
