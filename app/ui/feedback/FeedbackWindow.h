// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace Tolvane {

class FeedbackView;

// The single "Send Feedback" window; its content is the feedback view, and it is as large as that needs
// unless the screen is smaller: then the view scrolls.
class FeedbackWindow : public QWidget {
    Q_OBJECT
public:
    explicit FeedbackWindow(QWidget* parent = nullptr);

    FeedbackView* view() const { return view_; }
    // Escape or Ctrl+W: closes the window, first asking whether typed text may be dropped.
    void closeAskingFirst();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fit();

    FeedbackView* view_;
};

} // namespace Tolvane
