// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserEntity.h"

#include <QString>

#include <exception>
#include <optional>
#include <utility>

namespace Tolvane {

// How an intent presents its one browser parameter to the automation service.
struct IntentParameterMetadata {
    QString title;
    QString description;
};

// The settings suite could not be opened, so the automatic-confirmation choice is unknown.
class SettingsUnavailable : public std::exception {
public:
    explicit SettingsUnavailable(QString browserName = {}) : browserName_(std::move(browserName)) {}
    const char* what() const noexcept override { return "settingsUnavailable"; }
    // A sentence naming the browser that was not switched and the file that could not be read.
    QString message() const;

private:
    QString browserName_;
};

// What a run of an intent came to when it did not throw.
enum class IntentOutcome { noBrowserChosen, noSuchBrowser, switched };

// "Set default system browser": makes the chosen browser the default.
struct TolvaSetBrowserIntent {
    static const QString& title();
    static QString description();
    static IntentParameterMetadata browserParameter();
    static constexpr bool openAppWhenRun = false;

    std::optional<BrowserEntity> browser;

    // Runs on the GUI thread. Throws LaunchServices::Error when the switch fails and
    // SettingsUnavailable when the settings cannot be read (nothing is switched then).
    IntentOutcome perform() const;
};

// The steps both intents take, logging under "<app id>.<logCategory>". Callable from any thread.
IntentOutcome setDefaultBrowserFromEntity(const std::optional<BrowserEntity>& browser,
                                          const char* logCategory);

} // namespace Tolvane
