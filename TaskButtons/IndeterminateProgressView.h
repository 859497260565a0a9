// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QVariantAnimation;

namespace TaskButtons {

// A spinning activity indicator; it only animates while visible.
class IndeterminateProgressView : public QWidget {
    Q_OBJECT
public:
    explicit IndeterminateProgressView(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    bool isSpinning() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QVariantAnimation* rotation_;
    qreal angle_ = 0;
};

} // namespace TaskButtons
