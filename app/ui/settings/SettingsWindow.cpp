// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsWindow.h"

#include "ScreenFit.h"
#include "SettingsView.h"

#include <QAction>
#include <QEvent>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace Tolvane {

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent), view_(new SettingsView) {
    // The platform adds " — Tolvane" to every window title.
    setWindowTitle(tr("Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The window takes what its content needs, or scrolls it where the screen has less room.
    layout->addWidget(scrollingWhenCramped(view_));
    view_->installEventFilter(this);

    // The desktop's usual close shortcuts (Ctrl+W, Escape), for a window that may have no title bar
    // to click. While the recorder records, Escape is the recorder's.
    auto* close = new QAction(tr("Close"), this);
    close->setShortcuts(QKeySequence::keyBindings(QKeySequence::Close) << QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

} // namespace Tolvane

namespace Tolvane {

void SettingsWindow::fit(bool growOnly) {
    // Less a vertical scroll bar, which a short screen adds beside the content.
    view_->setAvailableWidth(availableRoom(this).width() -
                             style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    QSize wanted = view_->minimumSizeHint().expandedTo(view_->sizeHint());
    if (view_->hasHeightForWidth())
        wanted.setHeight(view_->heightForWidth(wanted.width()));
    if (growOnly)
        wanted = wanted.expandedTo(size());
    if (wanted != size())
        fitOnScreen(this, wanted);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    fit(false);
    QWidget::showEvent(event);
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Options shown later (the shortcut's) make the window grow as far as the screen allows.
    if (watched == view_ && event->type() == QEvent::LayoutRequest && isVisible())
        QMetaObject::invokeMethod(
            this, [this] { fit(true); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

} // namespace Tolvane
