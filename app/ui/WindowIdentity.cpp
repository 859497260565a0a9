// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowIdentity.h"

#include "app/ui/Assets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>

namespace Tolvane {

namespace {

// A widget Qt has no description of, described as what it is when asked: a window while it is one,
// a plain container once it sits in another. Qt keeps the first description of a widget, and many
// are made before they are placed.
class PlainWidgetAccessible : public QAccessibleWidget {
public:
    explicit PlainWidgetAccessible(QWidget* widget) : QAccessibleWidget(widget) {}
    QAccessible::Role role() const override {
        return widget()->isWindow() ? QAccessible::Window : QAccessibleWidget::role();
    }
};

QAccessibleInterface* describePlainWidget(const QString& className, QObject* object) {
    // Asked once per class up the chain, the object's own first. Qt answers for its own widgets
    // (line edits, combo boxes, dialogs) below QWidget: only a class that reaches it unanswered is one
    // made on a plain QWidget.
    if (className != QLatin1String("QWidget"))
        return nullptr;
    auto* widget = qobject_cast<QWidget*>(object);
    return widget ? new PlainWidgetAccessible(widget) : nullptr;
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
        QAccessible::installFactory(describePlainWidget);
        return true;
    }();
    (void)installed;
}

} // namespace Tolvane
