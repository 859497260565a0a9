#include "FeedbackWindow.h"

namespace Tolvane {

FeedbackWindow::FeedbackWindow(QWidget* parent) : QWidget(parent) { setWindowTitle(tr("Send Feedback")); }

} // namespace Tolvane
