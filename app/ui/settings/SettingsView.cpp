// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsView.h"

#include "AppDisplayName.h"
#include "BrowserCatalogue.h"
#include "BrowserMatch.h"
#include "BrowserNameMemory.h"
#include "BrowserPicker.h"
#include "BrowserRowLabel.h"
#include "DrawableText.h"
#include "GlobalKeys/RecorderField/Recorder.h"
#include "HotKeyStatusLabel.h"
#include "LinksTab.h"
#include "PermissionsHelper.h"
#include "SettingsFileWatch.h"
#include "SettingsSections.h"
#include "SettingsStore.h"
#include "StartAtLogin/Toggle.h"
#include "TolvaShortcutReactor.h"
#include "app/ui/Assets.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/Workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace Tolvane {
namespace {

std::optional<QList<DefaultBrowser>>& catalogueSlot() {
    static std::optional<QList<DefaultBrowser>> catalogue;
    return catalogue;
}

// " [Shortcuts app](shortcuts://) " as a rich-text link, coloured blue and underlined.
QString linkHtml(const QString& markdown) {
    static const QRegularExpression link(QStringLiteral(R"(^(\s*)\[(.*)\]\((.*)\)(\s*)$)"));
    const auto match = link.match(markdown);
    if (!match.hasMatch())
        return markdown.toHtmlEscaped();
    auto spaces = [](const QString& s) { return QString(s).replace(' ', QStringLiteral("&nbsp;")); };
    return QStringLiteral("<a href=\"%1\" style=\"color:#0a60ff; text-decoration:underline;\">%2%3%4</a>")
        .arg(match.captured(3).toHtmlEscaped(), spaces(match.captured(1)), match.captured(2).toHtmlEscaped(),
             spaces(match.captured(4)));
}

} // namespace

const QList<DefaultBrowser>& toggleBrowserCatalogue() {
    auto& catalogue = catalogueSlot();
    if (!catalogue) {
        catalogue = installedBrowsers();
        // The picker's choice may be uninstalled later; its notice should still name it.
        rememberBrowserNames(*catalogue);
    }
    return *catalogue;
}

void testing::resetToggleBrowserCatalogue() {
    catalogueSlot().reset();
}

SettingsView::SettingsView(QWidget* parent) : QWidget(parent) {
    toggleBrowserCatalogue();

    tabs_ = new QTabWidget(this);
    tabs_->addTab(makeGeneralTab(), Assets::image(QStringLiteral("settings")), tr("General"));
    tabs_->addTab(makeShortcutsTab(), Assets::image(QStringLiteral("shortcuts")), tr("Shortcuts"));
    links_ = new LinksTab;
    tabs_->addTab(links_, Assets::image(QStringLiteral("browser")), tr("Links"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);

    shown_ = storedValues();
    {
        const QSignalBlocker b1(showVersion_), b2(autoConfirm_), b3(toggleBrowser_);
        showVersion_->setChecked(shown_.settingsShowBrowserVersion);
        autoConfirm_->setChecked(shown_.autoConfirmChange);
        toggleBrowser_->setChecked(shown_.settingsToggleBrowser);
    }
    toggleOptions_->setVisible(shown_.settingsToggleBrowser);
    fitTabsWidth();
    fillPicker(shown_.settingsShowBrowserVersion);

    connect(showVersion_, &QCheckBox::toggled, this, [this](bool on) {
        SettingsStore::setBool(SettingsStore::showBrowserVersion, on);
        reloadSettings();
    });
    connect(autoConfirm_, &QCheckBox::toggled, this, &SettingsView::userChangedAutoConfirm);
    connect(toggleBrowser_, &QCheckBox::toggled, this, [this](bool on) {
        SettingsStore::setBool(SettingsStore::toggleBrowser, on);
        reloadSettings();
    });
    connect(picker_, &QComboBox::activated, this, [this](int index) {
        const QString id = picker_->itemData(index).toString();
        if (!id.isEmpty())
            SettingsStore::setString(SettingsStore::toggleBrowserId, id);
        reloadSettings();
    });

    watchSettingsFile(this, [this] { reloadSettings(); });
}

QWidget* SettingsView::makeGeneralTab() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);

    // In the user's language, unlike the library's own label.
    launchAtLogin_ = new StartAtLogin::Toggle(StartAtLogin::Toggle::TitleKey{
        "Tolvane::SettingsView", QT_TRANSLATE_NOOP("Tolvane::SettingsView", "Launch at login")});
    column->addWidget(section({launchAtLogin_}));

    showVersion_ = new QCheckBox(tr("Show browser version"));
    column->addWidget(
        section({showVersion_, explanation(tr("If you have multiple versions of the same browser "
                                              "installed on the system, the version may be useful to "
                                              "distinguish between them."))}));

    autoConfirm_ = new QCheckBox(tr("Auto-confirm browser change"));
    const QString name = appDisplayName();
    column->addWidget(section(
        {autoConfirm_,
         explanation(
             tr("When enabled, %1 attempts to automatically confirm the system prompt for the browser "
                "change. Please note that this is not always possible.")
                 .arg(name)),
         explanation(
             tr("⚠️ This option requires %1 to be granted permission to control your computer. You "
                "can do "
                "so in System Settings > Privacy & Security > Accessibility.")
                 .arg(name))}));
    column->addStretch(1);
    return page;
}

QWidget* SettingsView::makeShortcutsTab() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);

    toggleBrowser_ = new QCheckBox(tr("Change browser"));
    toggleOptions_ = new QWidget;
    auto* form = new QFormLayout(toggleOptions_);
    form->setContentsMargins(0, 0, 0, 0);
    recorder_ = new GlobalKeys::Recorder(TolvaShortcutReactor::toggleSystemBrowserKeys());
    form->addRow(tr("Shortcut"), recorder_);
    form->addRow(QString(), new HotKeyStatusLabel(TolvaShortcutReactor::toggleSystemBrowserKeys()));
    picker_ = new BrowserPicker;
    form->addRow(tr("New Browser"), picker_);
    column->addWidget(section({toggleBrowser_, toggleOptions_}));

    // Linux has no Shortcuts app: the link opens the guide to Tolvane's automation actions.
    note_ = new QLabel;
    note_->setWordWrap(true);
    note_->setTextFormat(Qt::RichText);
    note_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    note_->setOpenExternalLinks(false);
    note_->setText(
        drawableText(tr("💡 For even more flexibility, use %1 in the").arg(appDisplayName()), note_->font())
            .toHtmlEscaped() +
        linkHtml(tr(" [Shortcuts app](shortcuts://) ")));
    connect(note_, &QLabel::linkActivated, this, [this](const QString& link) { openLink(QUrl(link)); });
    column->addWidget(section({note_}));
    column->addStretch(1);
    return page;
}

SettingsView::Values SettingsView::storedValues() {
    Values values;
    values.autoConfirmChange = SettingsStore::boolForKey(SettingsStore::autoConfirmChange);
    values.settingsToggleBrowser = SettingsStore::boolForKey(SettingsStore::toggleBrowser);
    values.settingsShowBrowserVersion = SettingsStore::boolForKey(SettingsStore::showBrowserVersion);
    const auto& catalogue = toggleBrowserCatalogue();
    values.settingsToggleBrowserId = SettingsStore::stringForKey(SettingsStore::toggleBrowserId)
                                         .value_or(catalogue.isEmpty() ? QString() : catalogue.first().id());
    return values;
}

void SettingsView::fillPicker(bool showVersion) {
    const QSignalBlocker blocker(picker_);
    if (picker_->count() == 0 || showVersion != picker_->showsVersion())
        picker_->setBrowsers(toggleBrowserCatalogue(), showVersion);
    // The catalogue is kept for the process: an updated browser is still its own row.
    const QList<DefaultBrowser>& catalogue = toggleBrowserCatalogue();
    const DefaultBrowser* selected = browserMatching(catalogue, shown_.settingsToggleBrowserId);
    picker_->setCurrentIndex(selected ? int(selected - catalogue.constData()) : -1);
}

void SettingsView::fitTabsWidth() {
    // Wrapped explanations would otherwise squeeze the form into a narrow column. A set minimum hides
    // the pages' own from the window, so it also takes in what the shown controls (the recorder) need.
    // On a small screen (a large scale) the texts wrap to what the screen has rather than run off it.
    const QMargins margins = layout()->contentsMargins();
    const int room = availableWidth_ - margins.left() - margins.right();
    tabs_->setMinimumWidth(0);
    tabs_->setMinimumWidth(
        std::max(std::min(fontMetrics().averageCharWidth() * 64, room), tabs_->minimumSizeHint().width()));
}

void SettingsView::setAvailableWidth(int width) {
    if (width == availableWidth_)
        return;
    availableWidth_ = width;
    fitTabsWidth();
}

void SettingsView::reloadSettings() {
    const Values now = storedValues();
    const Values before = std::exchange(shown_, now);
    {
        const QSignalBlocker b1(showVersion_), b2(autoConfirm_), b3(toggleBrowser_);
        showVersion_->setChecked(now.settingsShowBrowserVersion);
        autoConfirm_->setChecked(now.autoConfirmChange);
        toggleBrowser_->setChecked(now.settingsToggleBrowser);
    }
    toggleOptions_->setVisible(now.settingsToggleBrowser);
    fitTabsWidth();
    fillPicker(now.settingsShowBrowserVersion);

    // Reactions to a changed value, whoever changed it.
    if (now.autoConfirmChange && !before.autoConfirmChange)
        autoConfirmGuard();
    if (now.settingsToggleBrowser != before.settingsToggleBrowser)
        repairToggleBrowserId();
}

void SettingsView::userChangedAutoConfirm(bool on) {
    SettingsStore::setBool(SettingsStore::autoConfirmChange, on);
    reloadSettings();
}

void SettingsView::autoConfirmGuard() {
    if (PermissionsHelper::ensureAccessibilityPermission())
        return;
    SettingsStore::setBool(SettingsStore::autoConfirmChange, false);
    reloadSettings();
}

void SettingsView::repairToggleBrowserId() {
    const QList<DefaultBrowser> fresh = installedBrowsers();
    // Nothing to point at: leave whatever is stored alone.
    if (fresh.isEmpty())
        return;
    const auto stored = SettingsStore::stringForKey(SettingsStore::toggleBrowserId);
    const DefaultBrowser* match = stored ? browserMatching(fresh, *stored) : nullptr;
    if (match && match->id() == *stored)
        return;
    // An updated browser keeps its place under its new id; anything else falls back to the first.
    SettingsStore::setString(SettingsStore::toggleBrowserId, (match ? *match : fresh.first()).id());
    reloadSettings();
}

void SettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    reloadSettings();
    repairToggleBrowserId();
}

void SettingsView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        reloadSettings();
}

QUrl SettingsView::automationGuideUrl() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .absoluteFilePath(QStringLiteral("../" TOLVANE_INSTALL_DATADIR
                                                                   "/doc/tolvane/automation-guide.html"));
    if (QFileInfo::exists(installed))
        return QUrl::fromLocalFile(QDir::cleanPath(installed));
    // Running from the build tree.
    return QUrl::fromLocalFile(QStringLiteral(TOLVANE_SOURCE_AUTOMATION_GUIDE));
}

void SettingsView::openLink(const QUrl& url) {
    const QUrl target = url.scheme() == QLatin1String("shortcuts") ? automationGuideUrl() : url;
    platform::get<platform::Workspace>()->openURL(target);
}

} // namespace Tolvane
