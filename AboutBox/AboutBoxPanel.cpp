// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBoxPanel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace AboutBox {

AboutBoxPanel::AboutBoxPanel(AppMetadata metadata, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      aboutViewController_(new AboutBoxViewController(std::move(metadata), this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the last About panel must not end a tray application.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(aboutViewController_->view());
    // The window takes the view's limits, so resizing stops where the view does.
    setMinimumSize(aboutViewController_->view()->minimumSize());
    setMaximumSize(aboutViewController_->view()->maximumSize());
    // Wrapped lines would size the window by width alone and miss the view's ideal height.
    resize(sizeHint());

    placeOn(QGuiApplication::primaryScreen());
}

QSize AboutBoxPanel::sizeHint() const {
    const AboutBoxView* view = aboutViewController_->view();
    return view ? view->sizeHint() : QWidget::sizeHint();
}

void AboutBoxPanel::placeOn(const QScreen* screen) {
    if (!screen) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.isEmpty())
            return; // nothing to place against; the window manager decides
        QRect desktop;
        for (const QScreen* s : screens)
            desktop |= s->geometry();
        const QSize size = frameGeometry().size();
        move(desktop.x() + (desktop.width() - size.width()) / 2,
             desktop.y() + (desktop.height() - size.height()) / 2);
        return;
    }
    move(topLeftOn(screen->geometry(), screen->availableGeometry(), frameGeometry().size()));
}

void AboutBoxPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QPoint AboutBoxPanel::topLeftOn(const QRect& screenGeometry, const QRect& availableGeometry,
                                const QSize& frameSize) {
    int x = screenGeometry.x() + screenGeometry.width() / 2;
    // A narrow screen would push the right half out of sight; keep the whole panel visible.
    x = qMax(availableGeometry.left(), qMin(x, availableGeometry.right() + 1 - frameSize.width()));
    // Below any panel reserved along the top edge, where the title bar can be reached.
    return QPoint(x, availableGeometry.top());
}

} // namespace AboutBox
