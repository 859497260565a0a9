// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuRowAction.h"

#include "app/ui/settings/BrowserRowLabel.h"

#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace Tolvane {
namespace {

// Looks and behaves like a menu item: icon, name, and the version in the caption font; highlighted
// while hovered or keyboard-selected; triggers on release. Painted directly so the text colour
// always matches the highlight, whatever the style does with labels inside menus.
class MenuRowWidget : public QWidget {
public:
    MenuRowWidget(QWidgetAction* action, const DefaultBrowser& browser, QWidget* parent)
        : QWidget(parent), action_(action), icon_(browser.appIcon), name_(browser.appName),
          version_(BrowserRowLabel::versionLabel(browser)) {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
        setAccessibleName(BrowserRowLabel::plainText(browser, true));
        if (auto* menu = qobject_cast<QMenu*>(parent))
            connect(menu, &QMenu::hovered, this, qOverload<>(&QWidget::update));
    }

    QSize sizeHint() const override {
        const QFontMetrics nameMetrics(font());
        const QFontMetrics captionMetrics(BrowserRowLabel::captionFont(font()));
        const int width = margin() + iconExtent() + spacing() + nameMetrics.horizontalAdvance(name_) +
                          nameMetrics.horizontalAdvance(QLatin1Char(' ')) +
                          captionMetrics.horizontalAdvance(version_) + margin();
        return {width, qMax(iconExtent(), nameMetrics.height()) + 6};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const bool active = isActive();
        if (active)
            painter.fillRect(rect(), palette().highlight());

        int x = margin();
        const int extent = iconExtent();
        icon_.paint(&painter, QRect(x, (height() - extent) / 2, extent, extent));
        x += extent + spacing();

        BrowserRowLabel::drawRow(&painter, QRect(x, 0, width() - x - margin(), height()), font(), name_,
                                 version_, palette(),
                                 active ? QPalette::HighlightedText : QPalette::WindowText);
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::Enter || e->type() == QEvent::HoverEnter) {
            hovered_ = true;
            update();
        } else if (e->type() == QEvent::Leave || e->type() == QEvent::HoverLeave) {
            hovered_ = false;
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
    bool isActive() const {
        auto* menu = qobject_cast<QMenu*>(parentWidget());
        return hovered_ || (menu && menu->activeAction() == action_);
    }
    int margin() const { return style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, this) + 8; }
    int spacing() const { return 6; }
    int iconExtent() const { return style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this); }

    QWidgetAction* action_;
    QIcon icon_;
    QString name_;
    QString version_;
    bool hovered_ = false;
};

} // namespace

MenuRowAction::MenuRowAction(const DefaultBrowser& browser, QObject* parent)
    : QWidgetAction(parent), browser_(browser) {
    QString text = BrowserRowLabel::plainText(browser, true);
    setText(text.replace('&', QStringLiteral("&&")));
    setIcon(browser.appIcon);
}

QWidget* MenuRowAction::createWidget(QWidget* parent) {
    return new MenuRowWidget(this, browser_, parent);
}

} // namespace Tolvane
