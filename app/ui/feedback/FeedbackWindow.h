#pragma once

#include <QWidget>

namespace Tolvane {

class FeedbackView;

// The single "Send Feedback" window; its content is the feedback view, and it is as large as that needs.
class FeedbackWindow : public QWidget {
    Q_OBJECT
public:
    explicit FeedbackWindow(QWidget* parent = nullptr);

    FeedbackView* view() const { return view_; }
    // Escape or Ctrl+W: closes the window, first asking whether typed text may be dropped.
    void closeAskingFirst();

private:
    FeedbackView* view_;
};

} // namespace Tolvane
