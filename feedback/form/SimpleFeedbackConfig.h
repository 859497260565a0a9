// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace Tellwick_Toolbox {

// Texts and switches of a ready-made feedback form; the form that uses it chooses its own defaults.
struct SimpleFeedbackConfig {
    QString title;
    QString subtitle;
    QString textLabel;
    QString textDescription;
    QString textAccessibilityLabel;
    QString submitButtonLabel;
    bool showEmail = false;
    QString emailLabel;
    QString emailPlaceholder;
    bool debugRequests = false;
    bool showAddImage = false;
    QString addImageLabel;
    bool showEmojiPicker = false;
    QString emojiPickerLabel;
    QStringList emojis;
    bool pinSubmitButton = false;

    bool operator==(const SimpleFeedbackConfig&) const = default;
};

} // namespace Tellwick_Toolbox
