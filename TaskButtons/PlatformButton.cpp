// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/PlatformButton.h"

#include <QEvent>
#include <QLabel>
#include <QStyleOptionButton>

namespace TaskButtons {

PlatformButton::PlatformButton(QWidget* content, QWidget* parent) : QPushButton(parent) {
    setContent(content);
}

void PlatformButton::setContent(QWidget* content) {
    content_ = content;
    if (!content_)
        return;
    content_->setParent(this);
    // Clicks on the content belong to the button.
    content_->setAttribute(Qt::WA_TransparentForMouseEvents);
    content_->show();
    nameForAccessibility();
    updateGeometry();
    place();
}

void PlatformButton::nameForAccessibility() {
    // The button's own text is empty: screen readers would announce a nameless button.
    QList<QLabel*> labels = content_->findChildren<QLabel*>();
    if (auto* self = qobject_cast<QLabel*>(content_))
        labels.prepend(self);
    for (const QLabel* label : labels) {
        if (!label->text().isEmpty()) {
            setAccessibleName(label->text());
            return;
        }
    }
}

QWidget* PlatformButton::takeContent() {
    QWidget* content = content_;
    content_ = nullptr;
    if (content)
        content->setParent(nullptr);
    return content;
}

QSize PlatformButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize inner = content_ ? content_->sizeHint() : QSize(0, fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, inner, this);
}

QSize PlatformButton::minimumSizeHint() const {
    return sizeHint();
}

void PlatformButton::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    place();
}

bool PlatformButton::event(QEvent* event) {
    // The content's size hint changed.
    if (event->type() == QEvent::LayoutRequest) {
        // Also after a language change, which gives the label its new text.
        if (content_)
            nameForAccessibility();
        updateGeometry();
        place();
    }
    return QPushButton::event(event);
}

void PlatformButton::place() {
    if (!content_)
        return;
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QSize size = content_->sizeHint().boundedTo(area.size()).expandedTo(content_->minimumSizeHint());
    size = size.boundedTo(area.size());
    // Let expanding content (a bar) take the whole width.
    if (content_->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag)
        size.setWidth(area.width());
    QRect rect(QPoint(0, 0), size);
    rect.moveCenter(area.center());
    content_->setGeometry(rect);
}

} // namespace TaskButtons
