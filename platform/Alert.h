// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace platform {

struct AlertRequest {
    enum class Style { Informational, Warning, Critical };
    QString messageText;
    QString informativeText;
    Style style = Style::Informational;
    QStringList buttons; // empty: the platform's single default button
    // The window the alert concerns: it is modal on that window only. None: on the whole application.
    QWidget* window = nullptr;
};

// A modal alert; blocks the calling (GUI) thread until it is dismissed.
class Alert {
public:
    virtual ~Alert() = default;
    // Returns the index of the button chosen (0 for the first or the default button).
    virtual int runModal(const AlertRequest& request) = 0;
};

} // namespace platform
