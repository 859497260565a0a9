#include "MenuRowAction.h"

#include "BrowserRowLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace Tolvane {
namespace {

// Looks and behaves like a menu item: highlighted while hovered or active, triggers on release.
class MenuRowWidget : public QWidget {
public:
    MenuRowWidget(QWidgetAction* action, const DefaultBrowser& browser, QWidget* parent)
        : QWidget(parent), action_(action), label_(new BrowserRowLabel(browser, true, this)) {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
        auto* layout = new QHBoxLayout(this);
        const int margin = style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, this) + 8;
        layout->setContentsMargins(margin, 3, margin, 3);
        layout->addWidget(label_);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        auto* menu = qobject_cast<QMenu*>(parentWidget());
        const bool active = underMouse() || (menu && menu->activeAction() == action_);
        if (!active)
            return;
        QPainter painter(this);
        painter.fillRect(rect(), palette().highlight());
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave) {
            label_->setForegroundRole(e->type() == QEvent::HoverEnter ? QPalette::HighlightedText
                                                                      : QPalette::WindowText);
            update();
        }
        return QWidget::event(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!rect().contains(e->position().toPoint()))
            return;
        // Close the menu the way a normal item does, then act.
        for (QWidget* w = parentWidget(); w; w = w->parentWidget())
            if (auto* menu = qobject_cast<QMenu*>(w))
                menu->hide();
        action_->trigger();
    }

private:
    QWidgetAction* action_;
    BrowserRowLabel* label_;
};

} // namespace

MenuRowAction::MenuRowAction(const DefaultBrowser& browser, QObject* parent)
    : QWidgetAction(parent), browser_(browser) {
    QString text = BrowserRowLabel::plainText(browser, true);
    setText(text.replace('&', QStringLiteral("&&")));
    setIcon(browser.appIcon);
}

QWidget* MenuRowAction::createWidget(QWidget* parent) { return new MenuRowWidget(this, browser_, parent); }

} // namespace Tolvane
