// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <array>
#include <optional>

class QToolButton;

namespace Tellwick_Toolbox {

// Five stars in a row; a click on star i rates i. For assistive technology the row is one adjustable
// element whose value is the rating, or "Not set".
class TWKStarRatingView : public QWidget {
    Q_OBJECT
public:
    explicit TWKStarRatingView(QWidget* parent = nullptr);

    std::optional<int> rating() const { return rating_; }
    void setRating(std::optional<int> rating);

    // "star.fill" or "star" for star 1..5.
    QString symbolOfStar(int star) const;
    QToolButton* starButton(int star) const { return stars_.at(size_t(star - 1)); }

    QString accessibilityValue() const;
    void accessibilityIncrement();
    void accessibilityDecrement();

signals:
    void ratingChanged(std::optional<int> rating);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    std::optional<int> rating_;
    std::array<QToolButton*, 5> stars_{};
};

} // namespace Tellwick_Toolbox
