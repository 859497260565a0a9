#pragma once

#include <QWidget>

namespace Tolvane {

// The single "Send Feedback" window.
class FeedbackWindow : public QWidget {
    Q_OBJECT
public:
    explicit FeedbackWindow(QWidget* parent = nullptr);
};

} // namespace Tolvane
