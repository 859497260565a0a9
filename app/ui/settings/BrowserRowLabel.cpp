// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserRowLabel.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace Tolvane {

BrowserRowLabel::BrowserRowLabel(const DefaultBrowser& browser, bool showVersion, QWidget* parent)
    : QWidget(parent), icon_(new QLabel(this)), name_(new QLabel(this)), version_(new QLabel(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing) > 0
                           ? style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing)
                           : 6);
    const int extent = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon_->setPixmap(QIcon(browser.appIcon).pixmap(extent, extent));
    // Names are shown verbatim: no rich text, no translation.
    name_->setTextFormat(Qt::PlainText);
    name_->setText(browser.appName);
    version_->setTextFormat(Qt::PlainText);
    version_->setText(versionLabel(browser));
    version_->setFont(captionFont(font()));
    layout->addWidget(icon_, 0, Qt::AlignVCenter);
    layout->addWidget(name_, 0, Qt::AlignVCenter);
    layout->addWidget(version_, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    setShowVersion(showVersion);
}

void BrowserRowLabel::setShowVersion(bool show) {
    version_->setVisible(show && !version_->text().isEmpty());
}

QString BrowserRowLabel::nameText() const {
    return name_->text();
}

QString BrowserRowLabel::versionText() const {
    return version_->isVisibleTo(this) ? version_->text() : QString();
}

QFont BrowserRowLabel::captionFont(const QFont& base) {
    QFont caption = base;
    if (base.pointSizeF() > 0)
        caption.setPointSizeF(base.pointSizeF() * 0.85);
    else
        caption.setPixelSize(qMax(8, int(base.pixelSize() * 0.85)));
    return caption;
}

QString BrowserRowLabel::plainText(const DefaultBrowser& browser, bool showVersion) {
    return showVersion && !browser.appVersion.isEmpty() ? browser.appName + tr(" ") + versionLabel(browser)
                                                        : browser.appName;
}

QString BrowserRowLabel::versionLabel(const DefaultBrowser& browser) {
    return browser.appVersion.isEmpty() ? QString() : tr("(%1)").arg(browser.appVersion);
}

void BrowserRowLabel::drawRow(QPainter* painter, const QRect& rect, const QFont& font, const QString& name,
                              const QString& version, const QPalette& palette, QPalette::ColorRole role) {
    painter->save();
    painter->setPen(palette.color(role));
    painter->setFont(font);
    const QFontMetrics nameMetrics(font);
    const QFont caption = captionFont(font);
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

} // namespace Tolvane
