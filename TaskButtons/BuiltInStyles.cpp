// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in styles: each wraps its input in one of the views of StyleViews.h.
#include "TaskButtons/LeadingAsyncButtonStyle.h"
#include "TaskButtons/OverlayAsyncButtonStyle.h"
#include "TaskButtons/PulseAsyncButtonStyle.h"
#include "TaskButtons/ShakeThrowableButtonStyle.h"
#include "TaskButtons/StyleViews.h"
#include "TaskButtons/TrailingAsyncButtonStyle.h"

#include <QHBoxLayout>

namespace TaskButtons {

namespace {
QWidget* row(QWidget* first, QWidget* second, int spacing) {
    auto* container = new QWidget;
    auto* layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(first, 0, Qt::AlignVCenter);
    layout->addWidget(second, 0, Qt::AlignVCenter);
    return container;
}
} // namespace

QWidget* LeadingAsyncButtonStyle::makeLabel(const AsyncButtonStyleLabelConfiguration& c) const {
    return row(new ProgressIndicator(c.state), c.label, spacing);
}

QWidget* TrailingAsyncButtonStyle::makeLabel(const AsyncButtonStyleLabelConfiguration& c) const {
    return row(c.label, new ProgressIndicator(c.state), spacing);
}

QWidget* OverlayAsyncButtonStyle::makeLabel(const AsyncButtonStyleLabelConfiguration& c) const {
    return new OverlayLabel(c.label, c.state, style);
}

QWidget* PulseAsyncButtonStyle::makeButton(const AsyncButtonStyleButtonConfiguration& c) const {
    return new PulseView(c.button, c.state);
}

QWidget* ShakeThrowableButtonStyle::makeButton(const ThrowableButtonStyleButtonConfiguration& c) const {
    return new ShakeView(c.button, c.state, Shake{amount, shakesPerUnit, static_cast<double>(c.errorCount)});
}

} // namespace TaskButtons
