// SPDX-License-Identifier: GPL-3.0-or-later
#include "TWKStarRatingView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

namespace Tellwick_Toolbox {

namespace {

// The row as one element: its stars are hidden from assistive technology, the value speaks for them.
class StarRatingAccessible : public QAccessibleWidget {
public:
    explicit StarRatingAccessible(TWKStarRatingView* view) : QAccessibleWidget(view, QAccessible::Slider) {}

    TWKStarRatingView* view() const { return static_cast<TWKStarRatingView*>(widget()); }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return view()->accessibilityValue();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        if (name == increaseAction())
            view()->accessibilityIncrement();
        else if (name == decreaseAction())
            view()->accessibilityDecrement();
    }
};

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("Tellwick_Toolbox::TWKStarRatingView") && object && object->isWidgetType())
        return new StarRatingAccessible(static_cast<TWKStarRatingView*>(object));
    return nullptr;
}

} // namespace

TWKStarRatingView::TWKStarRatingView(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleFactory), true);
    Q_UNUSED(factoryInstalled);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    QFont starFont = font();
    starFont.setPointSize(25);
    for (int i = 1; i <= 5; ++i) {
        auto* star = new QToolButton(this);
        star->setAutoRaise(true);
        star->setFont(starFont);
        star->setFocusPolicy(Qt::NoFocus);
        star->setObjectName(QStringLiteral("star%1").arg(i));
        connect(star, &QToolButton::clicked, this, [this, i] { setRating(i); });
        row->addWidget(star, 0, Qt::AlignVCenter);
        stars_[size_t(i - 1)] = star;
    }
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Rating"));
    refresh();
}

void TWKStarRatingView::setRating(std::optional<int> rating) {
    // Setting the same rating again is allowed and still reported, as a tap on the rated star is.
    rating_ = rating;
    refresh();
    emit ratingChanged(rating_);
    QAccessibleValueChangeEvent event(this, accessibilityValue());
    QAccessible::updateAccessibility(&event);
}

QString TWKStarRatingView::symbolOfStar(int star) const {
    return rating_ && *rating_ >= star ? QStringLiteral("star.fill") : QStringLiteral("star");
}

QString TWKStarRatingView::accessibilityValue() const {
    return rating_ ? QString::number(*rating_) : tr("Not set");
}

void TWKStarRatingView::accessibilityIncrement() {
    // An absent rating counts as -1 here, so the first step lands on 0.
    if (!rating_ || *rating_ <= 4)
        setRating(rating_.value_or(-1) + 1);
}

void TWKStarRatingView::accessibilityDecrement() {
    if (rating_ && *rating_ >= 2)
        setRating(*rating_ - 1);
}

void TWKStarRatingView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        accessibilityIncrement();
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        accessibilityDecrement();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TWKStarRatingView::refresh() {
    for (int i = 1; i <= 5; ++i) {
        const bool filled = symbolOfStar(i) == QLatin1String("star.fill");
        stars_[size_t(i - 1)]->setText(filled ? QStringLiteral("★") : QStringLiteral("☆"));
    }
}

} // namespace Tellwick_Toolbox
