// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowIdentity.h"

#include "app/ui/Assets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>

namespace Tolvane {

namespace {

QAccessibleInterface* frameForPlainWindow(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow())
        return nullptr;
    const QMetaObject* meta = object->metaObject();
    // Asked once per class up the chain: answer for the object's own class, and only when it is a
    // plain QWidget underneath (dialogs, menus and message boxes have their own descriptions).
    if (className != QLatin1String(meta->className()) || meta->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void identifyWindows() {
    QApplication::setWindowIcon(Assets::applicationIcon());
    // X11 taskbars find a window's desktop entry by the class in WM_CLASS, which Qt takes from the
    // application name; "tolvane" names no entry. Wayland's app id already is the desktop file name.
    QCoreApplication::setApplicationName(QGuiApplication::desktopFileName());
    describeWindowsAsFrames();
}

void describeWindowsAsFrames() {
    static const bool installed = [] {
        QAccessible::installFactory(frameForPlainWindow);
        return true;
    }();
    (void)installed;
}

} // namespace Tolvane
