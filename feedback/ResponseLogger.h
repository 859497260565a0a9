// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "URLResponse.h"

#include <QLoggingCategory>

namespace Tellwick {

// Debug entries about the service's answers, written only while a client has debugging on.
Q_DECLARE_LOGGING_CATEGORY(responseLogger)

// Writes one HTTP answer (URL and status, each header, the body as text or "nil") at debug level.
void logResponse(const QByteArray& bytes, const URLResponse& response);

} // namespace Tellwick
