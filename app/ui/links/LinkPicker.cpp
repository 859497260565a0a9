// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkPicker.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tolvane {
namespace {

constexpr int numberedChoices = 9;

} // namespace

LinkPicker::LinkPicker(const QStringList& urls, const PickerChoices& choices, std::optional<QString> site,
                       QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), link_(urls.value(0)),
      linkLabel_(new QLabel(this)), moreLabel_(new QLabel(this)), list_(new QListWidget(this)),
      always_(new QCheckBox(this)), failure_(new QLabel(this)), waiting_(new QLabel(this)) {
    setWindowTitle(tr("Open Link"));
    setObjectName(QStringLiteral("linkPicker"));

    // The middle of a long link goes, so its site and its end stay readable; the whole link is one
    // hover (or screen reader) away.
    linkLabel_->setTextFormat(Qt::PlainText);
    linkLabel_->setToolTip(link_);
    linkLabel_->setAccessibleName(tr("Link"));
    linkLabel_->setAccessibleDescription(link_);
    linkLabel_->setMinimumWidth(1);
    moreLabel_->setText(tr("and %n more link(s)", nullptr, int(urls.size() - 1)));
    moreLabel_->setVisible(urls.size() > 1);

    list_->setAccessibleName(tr("Browsers"));
    list_->setIconSize(QSize(24, 24));
    list_->setUniformItemSizes(true);
    const qsizetype chosen = choices.chosenIndex();
    for (qsizetype i = 0; i < choices.browsers.size(); ++i) {
        const DefaultBrowser& browser = choices.browsers[i].browser;
        // The number shown is the key that picks it.
        const QString number = i < numberedChoices ? QString::number(i + 1) : QStringLiteral("  ");
        auto* item =
            new QListWidgetItem(browser.appIcon, number + QStringLiteral("   ") + browser.appName, list_);
        item->setToolTip(choices.browsers[i].desktopId);
        if (i == chosen) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            item->setText(tr("%1   %2 (default)").arg(number, browser.appName));
        }
    }
    list_->setCurrentRow(chosen >= 0 ? int(chosen) : 0);
    const int rows = int(std::min<qsizetype>(choices.browsers.size(), 12));
    list_->setMinimumHeight(rows * std::max(list_->sizeHintForRow(0), 28) + 2 * list_->frameWidth());
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { pick(list_->row(item)); });

    always_->setText(site ? tr("Always open %1 here").arg(*site) : QString());
    always_->setVisible(site.has_value());

    failure_->setWordWrap(true);
    failure_->setTextFormat(Qt::PlainText);
    failure_->hide();
    waiting_->hide();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* open = buttons->addButton(tr("Open"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    // The list keeps the keyboard: Enter and Escape are answered there.
    open->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this] { pick(list_->currentRow()); });
    connect(cancel, &QPushButton::clicked, this, &LinkPicker::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(linkLabel_);
    layout->addWidget(moreLabel_);
    layout->addWidget(list_);
    layout->addWidget(always_);
    layout->addWidget(failure_);
    layout->addWidget(waiting_);
    layout->addWidget(buttons);

    list_->installEventFilter(this);
    always_->installEventFilter(this);
    list_->setFocus();
    resize(std::max(sizeHint().width(), 440), sizeHint().height());
    elideLink();
}

void LinkPicker::setWaiting(qsizetype count) {
    waiting_->setText(tr("%n more link(s) waiting", nullptr, int(count)));
    waiting_->setVisible(count > 0);
}

void LinkPicker::showFailure(const QString& text) {
    failure_->setText(text);
    failure_->show();
}

void LinkPicker::finish() {
    answered_ = true;
    close();
}

// The list would take digits for its type-ahead search and Enter for itself: it asks here first.
bool LinkPicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && answerKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

// Keys nothing else took: from a focused button, or typed before the list had the focus.
void LinkPicker::keyPressEvent(QKeyEvent* event) {
    if (!answerKey(*event))
        QWidget::keyPressEvent(event);
}

bool LinkPicker::answerKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held = key.modifiers() & ~Qt::KeypadModifier;
    if (held == Qt::NoModifier && key.key() >= Qt::Key_1 && key.key() <= Qt::Key_9) {
        const int index = key.key() - Qt::Key_1;
        if (index < list_->count())
            pick(index);
        return true;
    }
    if (held == Qt::NoModifier && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)) {
        pick(list_->currentRow());
        return true;
    }
    if (key.key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return false;
}

void LinkPicker::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!answered_) {
        answered_ = true;
        emit dropped();
    }
}

void LinkPicker::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!drawn_) {
        drawn_ = true;
        emit drawn();
    }
}

void LinkPicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elideLink();
}

void LinkPicker::pick(qsizetype index) {
    if (answered_ || index < 0 || index >= list_->count())
        return;
    failure_->hide();
    emit picked(index, !always_->isHidden() && always_->isChecked());
}

void LinkPicker::elideLink() {
    const int room = std::max(linkLabel_->contentsRect().width(), 40);
    linkLabel_->setText(linkLabel_->fontMetrics().elidedText(link_, Qt::ElideMiddle, room));
}

} // namespace Tolvane
