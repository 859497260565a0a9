// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkPicker.h"

#include "LinkSite.h"
#include "ShownText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace Tolvane {
namespace {

constexpr int numberedChoices = 9;
// Lines of the link itself; where it goes is shown apart, in full.
constexpr int linkLines = 3;
constexpr int preferredWidth = 480;

QString firstLines(const QString& wrapped, const QFontMetrics& metrics, int width) {
    QStringList lines = wrapped.split(QLatin1Char('\n'));
    if (lines.size() <= linkLines)
        return wrapped;
    lines.resize(linkLines);
    lines.last() = metrics.elidedText(lines.last() + QChar(0x2026), Qt::ElideRight, width);
    if (!lines.last().endsWith(QChar(0x2026)))
        lines.last() += QChar(0x2026);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

LinkPicker::LinkPicker(const QStringList& urls, const PickerChoices& choices, std::optional<QString> site,
                       QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), link_(shownText(urls.value(0))),
      linkLabel_(new QLabel(this)), moreLabel_(new QLabel(this)), hostLabel_(new QLabel(this)),
      texts_(new QScrollArea(this)), list_(new QListWidget(this)), always_(new QCheckBox(this)),
      failure_(new QLabel(this)), waiting_(new QLabel(this)), site_(site) {
    setWindowTitle(tr("Open Link"));
    setObjectName(QStringLiteral("linkPicker"));

    // Every label is plain text broken by fitTexts(): nothing the link holds is read as markup, and
    // nothing widens the window past the screen.
    for (QLabel* label : {linkLabel_, moreLabel_, hostLabel_, failure_, waiting_})
        label->setTextFormat(Qt::PlainText);
    linkLabel_->setToolTip(link_);
    linkLabel_->setAccessibleName(tr("Link"));
    linkLabel_->setAccessibleDescription(link_);
    linkLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    moreLabel_->setText(tr("and %n more link(s)", nullptr, int(urls.size() - 1)));
    moreLabel_->setVisible(urls.size() > 1);
    // The host the browser will load, which a link can dress up as another: always whole.
    const QStringList hosts = loadedHosts(urls);
    hosts_ = shownText(hosts.join(QStringLiteral(", ")));
    hostLabel_->setObjectName(QStringLiteral("linkHost"));
    manyHosts_ = hosts.size() > 1;
    hostLabel_->setAccessibleName(manyHosts_ ? tr("Sites") : tr("Site"));
    hostLabel_->setAccessibleDescription(hosts_);
    QFont bold = hostLabel_->font();
    bold.setBold(true);
    hostLabel_->setFont(bold);
    hostLabel_->setVisible(!hosts.isEmpty());

    auto* texts = new QWidget(texts_);
    auto* textsLayout = new QVBoxLayout(texts);
    textsLayout->setContentsMargins(0, 0, 0, 0);
    textsLayout->addWidget(linkLabel_);
    textsLayout->addWidget(moreLabel_);
    textsLayout->addWidget(hostLabel_);
    texts_->setWidget(texts);
    texts_->setWidgetResizable(true);
    texts_->setFrameShape(QFrame::NoFrame);
    texts_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    texts_->setFocusPolicy(Qt::NoFocus);

    list_->setAccessibleName(tr("Browsers"));
    list_->setIconSize(QSize(24, 24));
    list_->setUniformItemSizes(true);
    list_->setTextElideMode(Qt::ElideRight);
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

    always_->setVisible(site.has_value());
    if (site)
        always_->setAccessibleDescription(tr("Always open %1 here").arg(*site));

    failure_->hide();
    waiting_->hide();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* open = buttons->addButton(tr("Open"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    // The list keeps the keyboard: Enter and Escape are answered there.
    open->setAutoDefault(false);
    cancel->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this] { pick(list_->currentRow()); });
    connect(cancel, &QPushButton::clicked, this, &LinkPicker::drop);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texts_);
    layout->addWidget(list_);
    layout->addWidget(always_);
    layout->addWidget(failure_);
    layout->addWidget(waiting_);
    layout->addWidget(buttons);

    list_->installEventFilter(this);
    always_->installEventFilter(this);
    list_->setFocus();
    fitScreen();
}

void LinkPicker::setWaiting(qsizetype count) {
    waitingText_ = tr("%n more link(s) waiting", nullptr, int(count));
    // Seen in a task switcher too, where a picker covered by other windows still shows.
    setWindowTitle(count > 0 ? tr("Open Link \u2014 %1 more waiting").arg(count) : tr("Open Link"));
    waiting_->setVisible(count > 0);
    fitTexts();
}

void LinkPicker::showFailure(const QString& text) {
    failureText_ = shownText(text);
    failure_->show();
    fitTexts();
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
        drop();
        return true;
    }
    return false;
}

void LinkPicker::drop() {
    if (!answered_) {
        answered_ = true;
        emit dropped();
    }
    close();
}

void LinkPicker::closeEvent(QCloseEvent* event) {
    event->accept();
    if (answered_)
        return;
    answered_ = true;
    // The window manager's close button is the user's answer, as Escape is; a close nobody asked
    // for (Tolvane quitting closes every window first) is not.
    if (event->spontaneous())
        emit dropped();
    else
        emit abandoned();
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
    fitTexts();
}

// The screen is known for sure only now (the window may open on another one than first thought).
void LinkPicker::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitScreen();
}

void LinkPicker::pick(qsizetype index) {
    if (answered_ || index < 0 || index >= list_->count())
        return;
    failure_->hide();
    emit picked(index, !always_->isHidden() && always_->isChecked());
}

void LinkPicker::fitScreen() {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown)
        return;
    const QRect room = shown->availableGeometry();
    setMaximumSize(room.size());
    const int width = std::min(std::max(preferredWidth, list_->sizeHint().width()), room.width());
    resize(width, height());
    fitTexts();
    resize(width, std::min(sizeHint().height(), room.height()));
    if (!geometry().isEmpty() && !room.contains(frameGeometry()))
        move(std::clamp(x(), room.left(), std::max(room.left(), room.right() - frameGeometry().width())),
             std::clamp(y(), room.top(), std::max(room.top(), room.bottom() - frameGeometry().height())));
}

void LinkPicker::fitTexts() {
    if (fitting_)
        return;
    fitting_ = true;
    const QMargins margins = layout()->contentsMargins();
    int room = std::max(width() - margins.left() - margins.right(), 40);
    const auto fill = [&](int width) {
        linkLabel_->setText(
            firstLines(wrappedAnywhere(link_, linkLabel_->font(), width), linkLabel_->fontMetrics(), width));
        hostLabel_->setText(wrappedAnywhere((manyHosts_ ? tr("Sites: %1") : tr("Site: %1")).arg(hosts_),
                                            hostLabel_->font(), width));
    };
    fill(room);
    // Only so much of the window goes to the link; a host too long even for that scrolls, whole.
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const int most = shown ? shown->availableGeometry().height() / 2 : 400;
    const int needed = texts_->widget()->sizeHint().height();
    if (needed > most) {
        fill(room - texts_->verticalScrollBar()->sizeHint().width());
        texts_->setFixedHeight(most);
    } else {
        texts_->setFixedHeight(needed);
    }
    if (site_) {
        const QString named = tr("Always open %1 here").arg(*site_);
        const int box =
            always_->sizeHint().width() - always_->fontMetrics().horizontalAdvance(always_->text());
        // A site too long for one line is shown above in full; the box then says so without it.
        always_->setText(always_->fontMetrics().horizontalAdvance(named) + box <= room
                             ? named
                             : tr("Always open this site here"));
    }
    failure_->setText(wrappedAnywhere(failureText_, failure_->font(), room));
    waiting_->setText(wrappedAnywhere(waitingText_, waiting_->font(), room));
    fitting_ = false;
}

} // namespace Tolvane
