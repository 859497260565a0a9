// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "URLRequest.h"
#include "URLResponse.h"

#include <QCoroTask>

#include <stop_token>
#include <utility>

class QNetworkAccessManager;

namespace Tellwick {

// The process-wide network session, created on first use; call it on the main thread.
QNetworkAccessManager* sharedSession();

// Sends one request and waits for its whole answer. Transport failures, also those after the status line
// (a body cut short, stalled past the request's transfer time-out, or stopped), throw URLError; a complete
// HTTP answer of any status is returned. A stop request aborts the transfer (the reply is aborted, never
// deleted in flight).
QCoro::Task<std::pair<QByteArray, URLResponse>> data(QNetworkAccessManager* session, URLRequest request,
                                                     std::stop_token stop = {});

} // namespace Tellwick
