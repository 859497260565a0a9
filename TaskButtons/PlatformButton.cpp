#include "TaskButtons/PlatformButton.h"

#include <QEvent>
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
    updateGeometry();
    place();
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
