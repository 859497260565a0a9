// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoTrayWindow.h"

#include "AppDisplayName.h"
#include "MenuBarContent.h"
#include "platform/linux/tray/MenuChanges.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace Tolvane {
namespace {

// A flat, left-aligned button that shows and acts through a menu action, like a menu item.
QPushButton* entryButton(QAction* action) {
    auto* button = new QPushButton;
    button->setFlat(true);
    button->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 8px;"));
    const auto follow = [button, action] {
        button->setText(action->text());
        button->setIcon(action->icon());
        button->setEnabled(action->isEnabled());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

} // namespace

NoTrayWindow::NoTrayWindow(MenuBarContent* content, QWidget* parent) : QWidget(parent), content_(content) {
    setWindowTitle(appDisplayName());
    layout_ = new QVBoxLayout(this);
    auto* note = new QLabel(tr("This desktop shows no tray icons, so Tolvane shows its menu here. "
                               "On GNOME, the AppIndicator extension adds tray icons."));
    note->setWordWrap(true);
    layout_->addWidget(note);
    layout_->addSpacing(6);
    setMinimumWidth(340);
    new QShortcut(QKeySequence::Close, this, this, &QWidget::close);
    new MenuChanges(
        content_->menu(), [this] { rebuild(); }, this);
    rebuild();
}

void NoTrayWindow::rebuild() {
    delete entries_;
    entries_ = new QWidget;
    auto* column = new QVBoxLayout(entries_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const QList<QAction*> rows = content_->browserActions();
    QPushButton* firstRow = nullptr;
    for (QAction* action : content_->menu()->actions()) {
        if (action->isSeparator()) {
            auto* line = new QFrame;
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            column->addWidget(line);
        } else if (!action->isEnabled()) {
            // The heading: text only, as in the menu.
            auto* heading = new QLabel(action->text());
            heading->setEnabled(false);
            heading->setContentsMargins(9, 6, 9, 2);
            column->addWidget(heading);
        } else {
            QPushButton* button = entryButton(action);
            column->addWidget(button);
            if (!firstRow && rows.contains(action))
                firstRow = button;
        }
    }
    layout_->addWidget(entries_);
    // Picking a browser is what the window is for.
    if (firstRow)
        firstRow->setFocus();
}

} // namespace Tolvane
