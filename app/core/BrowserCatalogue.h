// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include "platform/BundleReader.h"

#include <QList>

#include <optional>

namespace Tolvane {

// Every application that opens https links, in the platform's order; the same answer as asking
// afresh at each call.
QList<DefaultBrowser> installedBrowsers();

// The record for the application at `appURL`, or none when it is not an identifiable application.
std::optional<DefaultBrowser> makeBrowser(const QUrl& appURL);

// Short version and build joined by a space; either may be missing.
QString bundleVersionText(const platform::Bundle& bundle);

} // namespace Tolvane
