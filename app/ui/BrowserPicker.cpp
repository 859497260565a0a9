#include "BrowserPicker.h"

#include "BrowserRowLabel.h"

#include <QApplication>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <algorithm>

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
        BrowserPicker::drawRow(painter, textRect, option.font, name, version, option.palette,
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

void BrowserPicker::drawRow(QPainter* painter, const QRect& rect, const QFont& font, const QString& name,
                            const QString& version, const QPalette& palette, QPalette::ColorRole role) {
    painter->save();
    painter->setPen(palette.color(role));
    painter->setFont(font);
    const QFontMetrics nameMetrics(font);
    const QFont caption = BrowserRowLabel::captionFont(font);
    const int space = nameMetrics.horizontalAdvance(QLatin1Char(' '));
    QString shownVersion = version;
    int nameRoom = rect.width();
    if (!version.isEmpty()) {
        nameRoom -= space + QFontMetrics(caption).horizontalAdvance(version);
        // A long name keeps a few letters before the version is given up for it.
        if (nameRoom < nameMetrics.horizontalAdvance(name) && nameRoom < 8 * nameMetrics.averageCharWidth()) {
            shownVersion.clear();
            nameRoom = rect.width();
        }
    }
    // What does not fit ends in "…" rather than being cut off.
    const QString shownName = nameMetrics.elidedText(name, Qt::ElideRight, std::max(0, nameRoom));
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName);
    if (!shownVersion.isEmpty()) {
        painter->setFont(caption);
        painter->drawText(rect.adjusted(nameMetrics.horizontalAdvance(shownName) + space, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownVersion);
    }
    painter->restore();
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
    drawRow(&painter, textRect, font(), currentData(nameRole).toString(), currentData(versionRole).toString(),
            palette(), QPalette::ButtonText);
}

} // namespace Tolvane
