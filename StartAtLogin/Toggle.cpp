// SPDX-License-Identifier: GPL-3.0-or-later
#include "Toggle.h"

#include "Observable.h"
#include "StartAtLogin.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QSignalBlocker>

namespace StartAtLogin {

Toggle::Toggle(QWidget* parent, Observable* startAtLogin)
    : Toggle(QStringLiteral("Launch at login"), parent, startAtLogin) {}

Toggle::Toggle(const QString& title, QWidget* parent, Observable* startAtLogin) : QWidget(parent) {
    setUp(startAtLogin);
    switch_->setText(title);
}

Toggle::Toggle(TitleKey title, QWidget* parent, Observable* startAtLogin)
    : Toggle(QCoreApplication::translate(title.context, title.sourceText), parent, startAtLogin) {}

Toggle::Toggle(const std::function<QWidget*()>& label, QWidget* parent, Observable* startAtLogin)
    : QWidget(parent) {
    setUp(startAtLogin);
    if (QWidget* widget = label ? label() : nullptr) {
        widget->setParent(this);
        static_cast<QHBoxLayout*>(layout())->insertWidget(1, widget);
    }
}

void Toggle::setUp(Observable* startAtLogin) {
    startAtLogin_ = startAtLogin ? startAtLogin : &sharedObservable();
    switch_ = new QCheckBox(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(switch_);
    row->addStretch(1);
    setFocusProxy(switch_);

    // Only the user's clicks change anything; re-reads below set the box with signals blocked.
    connect(switch_, &QCheckBox::clicked, this, &Toggle::userSwitched);
    connect(startAtLogin_, &Observable::objectWillChange, this, &Toggle::scheduleRefresh);
    if (startAtLogin_ != &sharedObservable())
        connect(&sharedObservable(), &Observable::objectWillChange, this, &Toggle::scheduleRefresh);
    refresh();
}

bool Toggle::isOn() const {
    return switch_->isChecked();
}

QString Toggle::title() const {
    return switch_->text();
}

void Toggle::userSwitched(bool on) {
    startAtLogin_->setLoginItemEnabled(on);
    refresh();
}

// The notice comes before the change; read once it is done, and only once for a burst of notices.
void Toggle::scheduleRefresh() {
    if (refreshQueued_)
        return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshQueued_ = false;
            refresh();
        },
        Qt::QueuedConnection);
}

void Toggle::refresh() {
    const QSignalBlocker blocker(switch_);
    switch_->setChecked(startAtLogin_->isLoginItemEnabled());
}

// The entry can change outside the app (a session settings tool, a deleted file).
void Toggle::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void Toggle::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        refresh();
    QWidget::changeEvent(event);
}

} // namespace StartAtLogin
