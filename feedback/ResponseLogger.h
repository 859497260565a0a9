#pragma once

#include <QLoggingCategory>

namespace Tellwick {

// Debug entries about the service's answers, written only while a client has debugging on.
Q_DECLARE_LOGGING_CATEGORY(responseLogger)

} // namespace Tellwick
