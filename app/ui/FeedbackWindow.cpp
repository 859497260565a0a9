#include "FeedbackWindow.h"

#include "FeedbackView.h"

#include <QVBoxLayout>

namespace Tolvane {

FeedbackWindow::FeedbackWindow(QWidget* parent) : QWidget(parent), view_(new FeedbackView) {
    setWindowTitle(tr("Send Feedback"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(view_);
    view_->setDismiss([this] { close(); });
}

} // namespace Tolvane
