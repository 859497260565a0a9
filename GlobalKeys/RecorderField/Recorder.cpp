// SPDX-License-Identifier: GPL-3.0-or-later
#include "Recorder.h"

#include <QHBoxLayout>
#include <QLabel>

namespace GlobalKeys {

_Recorder::_Recorder(const Name& name, RecorderField::OnChange onChange, QWidget* parent)
    : QWidget(parent), field_(new RecorderField(name, std::move(onChange), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field_);
    // Follows the field: its preferred width where there is room, less on a small screen.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setFocusProxy(field_);
}

namespace {

QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

} // namespace

Recorder::Recorder(const Name& name, RecorderField::OnChange onChange, QWidget* parent)
    : QWidget(parent), recorder_(new _Recorder(name, std::move(onChange), this)) {
    // A label whose buddy is this widget (a form row's) takes the keyboard to the field.
    setFocusProxy(recorder_->field());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(recorder_, 0, Qt::AlignLeading | Qt::AlignVCenter);
    layout->addStretch(1);
}

Recorder::Recorder(const QString& label, const Name& name, RecorderField::OnChange onChange, QWidget* parent)
    : QWidget(parent), label_(new QLabel(label, this)),
      recorder_(new _Recorder(name, std::move(onChange), this)) {
    label_->setBuddy(recorder_->field());
    setFocusProxy(recorder_->field());
    // Screen readers look for a field's label beside it; ours sits one level up.
    recorder_->field()->setAccessibleName(withoutMnemonic(label));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 0, Qt::AlignVCenter);
    layout->addWidget(recorder_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
}

bool Recorder::event(QEvent* event) {
    // A form names its rows with labels whose buddy is this widget: the field is what is read out.
    if (event->type() == QEvent::Show && !label_ && parentWidget() &&
        recorder_->field()->accessibleName().isEmpty()) {
        for (const QLabel* label : parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == this)
                recorder_->field()->setAccessibleName(withoutMnemonic(label->text()));
    }
    return QWidget::event(event);
}

int Recorder::alignmentGuide(ControlAlignment) const {
    if (!label_)
        return ControlAlignment::defaultValue(this);
    // The label keeps its preferred width (or the one a container asked for); the control follows.
    const int spacing = layout()->spacing() >= 0 ? layout()->spacing() : 6;
    return std::max(label_->sizeHint().width(), label_->minimumWidth()) + spacing;
}

void Recorder::alignControls(const QList<Recorder*>& recorders) {
    int widest = 0;
    for (const Recorder* recorder : recorders)
        if (recorder->label_)
            widest = std::max(widest, recorder->label_->sizeHint().width());
    for (Recorder* recorder : recorders)
        if (recorder->label_)
            recorder->label_->setMinimumWidth(widest);
}

} // namespace GlobalKeys
