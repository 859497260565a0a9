// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>

namespace Tolvane {

QSize availableRoom(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QSize frame = window->frameGeometry().size() - window->geometry().size();
    // Not placed yet, so the window manager's frame is unknown: allow for a title bar.
    if (frame.isNull())
        frame = QSize(0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window));
    return screen->availableGeometry().size() - frame;
}

QScrollArea* scrollingWhenCramped(QWidget* content) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own in the Tab order: the content's controls are, and the area scrolls
    // each one into view as it gets the focus.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setWidget(content);
    return area;
}

void fitOnScreen(QWidget* window, QSize wanted) {
    const QSize room = availableRoom(window);
    QSize size = wanted.boundedTo(room);
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    if (size.height() < wanted.height())
        size.setWidth(std::min(size.width() + bar, room.width()));
    if (size.width() < wanted.width())
        size.setHeight(std::min(size.height() + bar, room.height()));
    window->resize(size);
}

} // namespace Tolvane
