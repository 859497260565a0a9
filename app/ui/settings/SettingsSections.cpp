// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsSections.h"

#include "BrowserRowLabel.h"
#include "DrawableText.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace Tolvane {

QLabel* explanation(const QString& text) {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setFont(BrowserRowLabel::captionFont(label->font()));
    label->setText(drawableText(text, label->font()));
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QGroupBox* section(std::initializer_list<QWidget*> rows) {
    auto* box = new QGroupBox;
    auto* column = new QVBoxLayout(box);
    for (QWidget* row : rows)
        column->addWidget(row);
    return box;
}

} // namespace Tolvane
