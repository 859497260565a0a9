// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserEntity.h"
#include "TolvaSetBrowserIntent.h"

#include <QList>
#include <QRandomGenerator>

#include <optional>

namespace Tolvane {

// A Focus filter that makes the chosen browser the default when its Focus starts.
struct TolvaFocusFilterIntent {
    static const QString& title() { return TolvaSetBrowserIntent::title(); }
    static QString description() { return TolvaSetBrowserIntent::description(); }
    static IntentParameterMetadata browserParameter() { return TolvaSetBrowserIntent::browserParameter(); }

    struct DisplayRepresentation {
        QString title;
        QString subtitle;
    };

    std::optional<BrowserEntity> browser;

    // The chosen browser's name, or "Browser: none selected"; subtitle "Change default browser".
    DisplayRepresentation displayRepresentation() const;

    // One filter holding a browser picked uniformly at random; none when no browser is installed.
    // Callable from any thread with the default generator (the global one is thread-safe).
    static QList<TolvaFocusFilterIntent>
    suggestedFocusFilters(QRandomGenerator* random = QRandomGenerator::global());

    // Runs off the GUI thread; throws as TolvaSetBrowserIntent::perform does.
    IntentOutcome perform() const;
};

} // namespace Tolvane
