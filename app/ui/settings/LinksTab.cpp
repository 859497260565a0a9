// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinksTab.h"

#include "AppDisplayName.h"
#include "LinkDecision.h"
#include "RuleDialog.h"
#include "SettingsSections.h"
#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace Tolvane {
namespace {

QLabel* noteLabel() {
    auto* label = new QLabel;
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->hide();
    return label;
}

void setNote(QLabel* label, const QString& text) {
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

QPushButton* button(const QString& text, const QString& accessibleName) {
    auto* button = new QPushButton(text);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    return button;
}

// The handler service may answer with or without the ".desktop" that rules always carry.
QString asDesktopId(const QString& id) {
    return id.isEmpty() || id.endsWith(QLatin1String(".desktop")) ? id : id + QLatin1String(".desktop");
}

} // namespace

LinksTab::LinksTab(QWidget* parent) : QWidget(parent), file_(LinkRulesFile::defaultPath()) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(makeRoutingSection());
    column->addWidget(makeRulesSection(), 1);
    column->addWidget(makeTestSection());

    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(100);
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(settle_, &QTimer::timeout, this, &LinksTab::rulesFileChanged);
}

QWidget* LinksTab::makeRoutingSection() {
    routing_ = new QCheckBox(tr("Open links by rules"));
    routingNote_ = noteLabel();
    connect(routing_, &QCheckBox::toggled, this, &LinksTab::userToggledRouting);
    return section({routing_, routingNote_,
                    explanation(tr("%1 opens each web link in the browser of the first rule below that "
                                   "matches it, and every other link in the default browser.")
                                    .arg(appDisplayName()))});
}

QWidget* LinksTab::makeRulesSection() {
    list_ = new QTreeWidget;
    list_->setColumnCount(2);
    list_->setHeaderLabels({tr("Pattern"), tr("Opens in")});
    list_->setAccessibleName(tr("Link rules"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->setMinimumHeight(list_->fontMetrics().height() * 8);
    rulesNote_ = noteLabel();

    add_ = button(tr("&Add…"), tr("Add a rule"));
    edit_ = button(tr("&Edit…"), tr("Edit the rule"));
    up_ = button(tr("&Up"), tr("Move the rule up"));
    down_ = button(tr("&Down"), tr("Move the rule down"));
    remove_ = button(tr("&Remove"), tr("Remove the rule"));
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {add_, edit_, up_, down_, remove_})
        row->addWidget(b);
    row->addStretch(1);

    connect(add_, &QPushButton::clicked, this, [this] { openRuleDialog(-1); });
    connect(edit_, &QPushButton::clicked, this, [this] { openRuleDialog(currentRow()); });
    connect(list_, &QTreeWidget::itemActivated, this, [this] { openRuleDialog(currentRow()); });
    connect(up_, &QPushButton::clicked, this, [this] {
        const int at = currentRow();
        changeRules([at](LinkRulesFile& file) { return file.move(at, at - 1); }, at - 1);
    });
    connect(down_, &QPushButton::clicked, this, [this] {
        const int at = currentRow();
        changeRules([at](LinkRulesFile& file) { return file.move(at, at + 1); }, at + 1);
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int at = currentRow();
        changeRules([at](LinkRulesFile& file) { return file.remove(at); }, at);
    });
    // Delete removes the selected rule, as in other lists.
    list_->installEventFilter(this);
    connect(list_, &QTreeWidget::currentItemChanged, this, &LinksTab::updateButtons);

    auto* box = new QGroupBox;
    auto* stack = new QVBoxLayout(box);
    stack->addWidget(list_, 1);
    stack->addWidget(rulesNote_);
    stack->addWidget(buttons);
    stack->addWidget(explanation(tr("The first rule that matches a link decides. A site such as "
                                    "example.com also covers its subdomains.")));
    updateButtons();
    return box;
}

QWidget* LinksTab::makeTestSection() {
    link_ = new QLineEdit;
    link_->setPlaceholderText(tr("https://example.com/page"));
    link_->setAccessibleName(tr("Link to try"));
    link_->setClearButtonEnabled(true);
    verdict_ = new QLabel;
    verdict_->setWordWrap(true);
    verdict_->setTextFormat(Qt::PlainText);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(link_, &QLineEdit::textChanged, this, &LinksTab::showVerdict);

    auto* box = new QGroupBox;
    auto* form = new QFormLayout(box);
    form->addRow(tr("&Try a link"), link_);
    form->addRow(QString(), verdict_);
    return box;
}

void LinksTab::reload() {
    // A fresh reading of the state makes an earlier failure old news.
    routingFailure_.clear();
    showRouting();
    targets_ = LinkTargets(listedBrowsers());
    chosen_ = asDesktopId(platform::get<platform::HandlerService>()
                              ->defaultHandlerForURLScheme(QStringLiteral("https"))
                              .value_or(QString()));
    // A change from the rule dialog must land on the rules it was opened on.
    if (!dialog_) {
        fileLoaded_ = file_.load();
        setNote(rulesNote_, fileLoaded_ ? QString() : file_.error());
    }
    showRules(currentRow());
}

bool LinksTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete) && remove_->isEnabled()) {
        remove_->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void LinksTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    followRulesFile();
    reload();
}

void LinksTab::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
    settle_->stop();
}

void LinksTab::followRulesFile() {
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
    const QFileInfo file(file_.path());
    QStringList paths;
    if (file.exists())
        paths << file.absoluteFilePath();
    // The nearest folder there is: one made later is a change in its parent.
    QString folder = file.absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QLatin1String("/"))
        folder = QFileInfo(folder).absolutePath();
    paths << folder;
    watcher_->addPaths(paths);
}

void LinksTab::rulesFileChanged() {
    // A file replaced by an editor is a new file to watch.
    followRulesFile();
    // A change from the rule dialog is checked against the file when it is made.
    if (dialog_)
        return;
    LinkRulesFile onDisk(file_.path());
    const bool loaded = onDisk.load();
    if (loaded == fileLoaded_ && onDisk.content() == file_.content() && onDisk.error() == file_.error())
        return; // our own save, or a folder change that left the file alone
    file_ = onDisk;
    fileLoaded_ = loaded;
    setNote(rulesNote_, loaded ? QString() : file_.error());
    showRules(currentRow());
}

void LinksTab::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Back from the rules file in an editor, or from another program that took the links.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        reload();
}

void LinksTab::showRouting() {
    const auto state = platform::get<platform::LinkRouting>()->state();
    routingState_ = state;
    {
        const QSignalBlocker blocker(routing_);
        routing_->setChecked(state == platform::LinkRouting::State::on);
    }
    if (!routingFailure_.isEmpty())
        setNote(routingNote_, routingFailure_);
    else if (state == platform::LinkRouting::State::displaced)
        setNote(routingNote_, tr("Another program opens web links now."));
    else
        setNote(routingNote_, QString());
}

void LinksTab::userToggledRouting(bool on) {
    const auto routing = platform::get<platform::LinkRouting>();
    if (routing->setOn(on) == platform::HandlerService::noErr) {
        routingFailure_.clear();
    } else {
        routingFailure_ = routing->failureReason();
        if (routingFailure_.isEmpty())
            routingFailure_ = on ? tr("Links could not be handed to the rules.")
                                 : tr("Links could not be handed back to the default browser.");
    }
    // The state as it now is: unchanged after a failure.
    showRouting();
    showVerdict();
}

void LinksTab::showRules(int selectRow) {
    const QSignalBlocker blocker(list_);
    list_->clear();
    const QList<LinkRule> rules = fileLoaded_ ? file_.rules() : QList<LinkRule>();
    for (const LinkRule& rule : rules) {
        auto* item = new QTreeWidgetItem(list_, {rule.pattern, targets_.name(rule.target)});
        if (rule.target != askTarget && !targets_.isInstalled(rule.target))
            item->setIcon(1, style()->standardIcon(QStyle::SP_MessageBoxWarning));
        else
            item->setIcon(1, targets_.icon(rule.target));
    }
    if (!rules.isEmpty() && selectRow >= 0)
        list_->setCurrentItem(list_->topLevelItem(std::min<int>(selectRow, rules.size() - 1)));
    // A file that cannot be read is never written over: nothing here may change it.
    list_->setEnabled(fileLoaded_);
    updateButtons();
    showVerdict();
}

int LinksTab::currentRow() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void LinksTab::updateButtons() {
    const int row = currentRow();
    const int count = list_->topLevelItemCount();
    add_->setEnabled(fileLoaded_);
    edit_->setEnabled(fileLoaded_ && row >= 0);
    remove_->setEnabled(fileLoaded_ && row >= 0);
    up_->setEnabled(fileLoaded_ && row > 0);
    down_->setEnabled(fileLoaded_ && row >= 0 && row < count - 1);
}

void LinksTab::openRuleDialog(int row) {
    if (!fileLoaded_ || dialog_)
        return;
    const QList<LinkRule> rules = file_.rules();
    if (row >= rules.size())
        return;
    const bool adding = row < 0;
    const LinkRule start = adding ? LinkRule{} : rules[row];
    auto* dialog = new RuleDialog(targets_, start, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog_ = dialog;
    // Closed, it is deleted later; another may open at once. What changed on disk meanwhile shows then.
    connect(dialog, &QDialog::finished, this, [this] {
        dialog_ = nullptr;
        if (isVisible())
            settle_->start();
    });
    connect(dialog, &QDialog::accepted, this, [this, dialog, row, adding] {
        const LinkRule rule = dialog->rule();
        if (adding)
            changeRules(
                [rule](LinkRulesFile& file) {
                    file.append(rule);
                    return true;
                },
                int(file_.rules().size()));
        else
            changeRules([rule, row](LinkRulesFile& file) { return file.replace(row, rule); }, row);
    });
    dialog->open();
}

bool LinksTab::changeRules(const std::function<bool(LinkRulesFile&)>& change, int selectRow) {
    const int shownRow = currentRow();
    enum class Outcome { written, elsewhere, refused, failed } outcome = Outcome::failed;
    LinkRulesFile onDiskNow(file_.path());
    QString error;
    // Under the rules' lock, read again: the picker and the command line write the same file.
    LinkRulesFile::update(
        [&](LinkRulesFile& onDisk) {
            onDiskNow = onDisk;
            if (!fileLoaded_ || onDisk.content() != file_.content()) {
                outcome = Outcome::elsewhere;
                return false;
            }
            if (!change(onDisk)) {
                outcome = Outcome::refused;
                return false;
            }
            outcome = Outcome::written;
            onDiskNow = onDisk;
            return true;
        },
        &error, file_.path());
    switch (outcome) {
    case Outcome::written:
        if (error.isEmpty()) {
            file_ = onDiskNow;
            setNote(rulesNote_, QString());
            showRules(selectRow);
            return true;
        }
        setNote(rulesNote_, error); // the list keeps showing what the file holds
        break;
    case Outcome::elsewhere:
        // Changed by someone else since it was shown: show theirs rather than write over it.
        file_ = onDiskNow;
        fileLoaded_ = true;
        setNote(rulesNote_,
                tr("The rules file was changed elsewhere; the list now shows it. Nothing was changed."));
        break;
    case Outcome::refused:
        break;
    case Outcome::failed:
        fileLoaded_ = file_.load();
        setNote(rulesNote_, error);
        break;
    }
    showRules(shownRow);
    return false;
}

void LinksTab::showVerdict() {
    const QString verdict = verdictFor(link_->text().trimmed());
    verdict_->setText(verdict);
    // Read out with the field, where the focus is while typing.
    link_->setAccessibleDescription(verdict);
}

QString LinksTab::verdictFor(const QString& text) const {
    if (text.isEmpty())
        return {};
    std::optional<WebLink> url = WebLink::read(text);
    // Typed as in an address bar: "example.com" is a web link too.
    const QString scheme = QUrl::fromUserInput(text).scheme();
    if (!url && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
        !text.startsWith(scheme + QLatin1Char(':'), Qt::CaseInsensitive))
        url = WebLink::read(scheme + QLatin1String("://") + text);
    if (!url)
        return tr("Not a web link");
    const QList<LinkRule> rules = fileLoaded_ ? file_.rules() : QList<LinkRule>();
    const LinkDecision decision =
        decideLink(rules, *url, chosen_, [this](const QString& id) { return targets_.isInstalled(id); });
    // The default browser is installed whether or not it is one of the listed browsers.
    const QString name = targets_.isInstalled(chosen_) ? targets_.name(chosen_) : chosen_;
    // Without the rules every link goes where the desktop sends it: say so, and what the rules would do.
    if (routingState_ != platform::LinkRouting::State::on) {
        if (chosen_.isEmpty())
            return tr("Link rules are off, and no default browser is set");
        if (routingState_ == platform::LinkRouting::State::displaced)
            return tr("Opens in %1: another program took web links from the rules").arg(name);
        if (!decision.rule)
            return tr("Opens in %1: link rules are off").arg(name);
        const int number = int(*decision.rule) + 1;
        return decision.target == askTarget
                   ? tr("Opens in %1: link rules are off (rule %2 would ask which browser)")
                         .arg(name)
                         .arg(number)
                   : tr("Opens in %1: link rules are off (rule %2 would open it in %3)")
                         .arg(name)
                         .arg(number)
                         .arg(targets_.name(decision.target));
    }
    if (decision.rule) {
        const int number = int(*decision.rule) + 1;
        return decision.target == askTarget
                   ? tr("Asks which browser (rule %1)").arg(number)
                   : tr("Opens in %1 (rule %2)").arg(targets_.name(decision.target)).arg(number);
    }
    if (chosen_.isEmpty())
        return tr("No rule matches, and no default browser is set");
    if (!decision.missingTarget.isEmpty())
        return tr("Opens in %1 (rule %2 names a browser that is not installed; the default browser)")
            .arg(name)
            .arg(int(firstMatchingRule(rules, *url).value_or(0)) + 1);
    return tr("Opens in %1 (no rule; the default browser)").arg(name);
}

} // namespace Tolvane
