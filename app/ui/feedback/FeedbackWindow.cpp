// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeedbackWindow.h"

#include "FeedbackView.h"
#include "ScreenFit.h"

#include "platform/Alert.h"
#include "platform/Services.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Tolvane {

FeedbackWindow::FeedbackWindow(QWidget* parent) : QWidget(parent), view_(new FeedbackView) {
    setWindowTitle(tr("Send Feedback"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollingWhenCramped(view_));
    fit();
    view_->setDismiss([this] { close(); });

    // The desktop's usual close shortcuts (Ctrl+W, Escape).
    auto* closing = new QAction(this);
    closing->setShortcuts(QKeySequence::keyBindings(QKeySequence::Close) << QKeySequence(Qt::Key_Escape));
    connect(closing, &QAction::triggered, this, &FeedbackWindow::closeAskingFirst);
    addAction(closing);
}

void FeedbackWindow::fit() {
    // As large as the view where the screen has room for it, never larger.
    // A fixed width is the view's minimum and maximum, whatever its layout hints.
    QSize wanted = view_->sizeHint().expandedTo(view_->minimumSizeHint()).expandedTo(view_->minimumSize());
    wanted = wanted.boundedTo(view_->maximumSize());
    if (view_->hasHeightForWidth())
        wanted.setHeight(view_->heightForWidth(wanted.width()));
    setMaximumSize(wanted);
    fitOnScreen(this, wanted);
}

void FeedbackWindow::showEvent(QShowEvent* event) {
    // The screen is known for sure, and the frame perhaps, once the window is shown.
    fit();
    QWidget::showEvent(event);
}

void FeedbackWindow::closeAskingFirst() {
    if (!view_->feedbackText().trimmed().isEmpty()) {
        platform::AlertRequest alert;
        alert.style = platform::AlertRequest::Style::Warning;
        alert.messageText = tr("Discard your feedback?");
        alert.informativeText = tr("What you typed will be lost.");
        alert.buttons = {tr("Keep Editing"), tr("Discard")};
        alert.window = this;
        if (platform::get<platform::Alert>()->runModal(alert) != 1)
            return;
    }
    close();
}

} // namespace Tolvane
