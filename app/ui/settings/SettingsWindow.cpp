#include "SettingsWindow.h"

#include "SettingsView.h"

#include <QAction>
#include <QVBoxLayout>

namespace Tolvane {

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent), view_(new SettingsView(this)) {
    // The platform adds " — Tolvane" to every window title.
    setWindowTitle(tr("Settings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    // The window takes what its content needs.
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // The desktop's usual close shortcuts (Ctrl+W, Escape), for a window that may have no title bar
    // to click. While the recorder records, Escape is the recorder's.
    auto* close = new QAction(tr("Close"), this);
    close->setShortcuts(QKeySequence::keyBindings(QKeySequence::Close) << QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

} // namespace Tolvane
