// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBoxView.h"

#include "platform/Services.h"
#include "platform/Workspace.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>

namespace AboutBox {

namespace {

constexpr int spacing = 8;
constexpr int copyrightBottomPadding = 12;

// Title and caption text keep their usual proportions to body text: 15 and 10 against 13.
QFont scaledFont(const QFont& base, qreal factor) {
    QFont font = base;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * factor);
    else if (base.pixelSize() > 0)
        font.setPixelSize(qRound(base.pixelSize() * factor));
    return font;
}

QLabel* plainLabel(const QString& text, const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText); // bundle values are shown as written, never as markup
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

QPushButton* plainButton(const QString& text, const QString& objectName, const QColor& color,
                         QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::WindowText, color);
    button->setPalette(palette);
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    return button;
}

} // namespace

AboutBoxView::AboutBoxView(AppMetadata metadata, QWidget* parent)
    : QWidget(parent), metadata_(std::move(metadata)) {
    setMinimumSize(minimumWidth, minimumHeight);
    setMaximumSize(maximumWidth, maximumHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(spacing);
    layout->addStretch(1); // content stays centred when the frame grows

    const int iconSide = qRound(metadata_.iconSize);
    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    icon->setFixedSize(iconSide, iconSide);
    icon->setScaledContents(true); // stretched to fill the square
    // Small icons are not scaled up by the icon engine; stretch them to fill the square.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = QSize(iconSide, iconSide) * ratio;
    QPixmap picture = metadata_.icon.pixmap(QSize(iconSide, iconSide), ratio);
    if (!picture.isNull() && picture.size() != pixels) {
        picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    icon->setPixmap(picture);
    icon->setAccessibleName(metadata_.name);
    layout->addWidget(icon, 0, Qt::AlignHCenter);

    auto* name = plainLabel(metadata_.name, "name", this);
    QFont nameFont = scaledFont(font(), 15.0 / 13.0);
    nameFont.setBold(true);
    name->setFont(nameFont);
    layout->addWidget(name);

    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.55);
    versionButton_ = plainButton(metadata_.versionText, "version", secondary, this);
    connect(versionButton_, &QPushButton::clicked, this, &AboutBoxView::toggleVersionText);
    layout->addWidget(versionButton_, 0, Qt::AlignHCenter);

    if (metadata_.url) {
        auto* link = plainButton(linkText(*metadata_.url), "link", metadata_.urlColor, this);
        link->setToolTip(metadata_.url->toString());
        connect(link, &QPushButton::clicked, this, &AboutBoxView::openLink);
        layout->addWidget(link, 0, Qt::AlignHCenter);
    }

    auto* copyright = plainLabel(metadata_.copyrightText, "copyright", this);
    copyright->setFont(scaledFont(font(), 10.0 / 13.0));
    layout->addWidget(copyright);
    layout->addSpacing(copyrightBottomPadding);
    layout->addStretch(1);
}

QSize AboutBoxView::sizeHint() const {
    const QSize content = layout() ? layout()->minimumSize() : QSize();
    return QSize(idealWidth, idealHeight).expandedTo(content).boundedTo(maximumSize());
}

void AboutBoxView::toggleVersionText() {
    displayAltText_ = !displayAltText_;
    versionButton_->setText(displayAltText_ ? metadata_.altVersionText : metadata_.versionText);
}

void AboutBoxView::openLink() {
    // The panel stays open; the browser comes forward on its own.
    if (!platform::get<platform::Workspace>()->openURL(*metadata_.url) && metadata_.logCategory)
        qCWarning(metadata_.logCategory) << "Could not open" << metadata_.url->toString();
}

} // namespace AboutBox
