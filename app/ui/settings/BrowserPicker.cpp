// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserPicker.h"

#include "BrowserRowLabel.h"

#include <QApplication>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace Tolvane {
namespace {

class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(BrowserPicker* picker) : QStyledItemDelegate(picker), picker_(picker) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = rowOption(option, index);
        const QString name = index.data(BrowserPicker::nameRole).toString();
        const QString version = index.data(BrowserPicker::versionRole).toString();
        opt.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const bool selected = option.state & QStyle::State_Selected;
        BrowserRowLabel::drawRow(painter, textRect, option.font, name, version, option.palette,
                                 selected ? QPalette::HighlightedText : QPalette::Text);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QStyleOptionViewItem opt = rowOption(option, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        return style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), widget);
    }

private:
    // Every row's icon takes the picker's icon size, whatever sizes the icon comes in, so names line up.
    QStyleOptionViewItem rowOption(const QStyleOptionViewItem& option, const QModelIndex& index) const {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.decorationSize = picker_->iconSize();
        return opt;
    }

    BrowserPicker* picker_;
};

} // namespace

BrowserPicker::BrowserPicker(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new RowDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void BrowserPicker::setBrowsers(const QList<DefaultBrowser>& browsers, bool showVersion) {
    clear();
    showVersion_ = showVersion;
    for (const DefaultBrowser& browser : browsers) {
        addItem(browser.appIcon, BrowserRowLabel::plainText(browser, showVersion), browser.id());
        const int row = count() - 1;
        setItemData(row, browser.appName, nameRole);
        setItemData(row, showVersion ? BrowserRowLabel::versionLabel(browser) : QString(), versionRole);
    }
}

void BrowserPicker::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    // The style draws the icon; the row's text is ours, for the caption-sized version.
    QStyleOptionComboBox iconOnly = opt;
    iconOnly.currentText.clear();
    painter.drawControl(QStyle::CE_ComboBoxLabel, iconOnly);
    if (currentIndex() < 0)
        return;
    QRect textRect = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (!opt.currentIcon.isNull())
        textRect.setLeft(textRect.left() + opt.iconSize.width() + 4);
    BrowserRowLabel::drawRow(&painter, textRect, font(), currentData(nameRole).toString(),
                             currentData(versionRole).toString(), palette(), QPalette::ButtonText);
}

} // namespace Tolvane
