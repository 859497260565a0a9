// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace TaskButtons {

// A push button that shows an arbitrary view as its content and sizes itself around it.
class PlatformButton : public QPushButton {
    Q_OBJECT
public:
    explicit PlatformButton(QWidget* content, QWidget* parent = nullptr);
    QWidget* content() const { return content_; }
    // Hands the content back (reparented to nobody) so it can be rewrapped.
    QWidget* takeContent();
    void setContent(QWidget* content);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void place();
    void nameForAccessibility();
    QWidget* content_ = nullptr;
};

} // namespace TaskButtons
