// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkAsker.h"

#include "ActivationTokenScope.h"
#include "LinkPicker.h"
#include "LinkSite.h"
#include "app/core/links/LinkRulesFile.h"
#include "platform/Services.h"
#include "platform/Workspace.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QThreadPool>

namespace Tolvane {
namespace {

Q_LOGGING_CATEGORY(lcLinks, "app.tolvane.Tolvane.links")

// Remembers "site target" so that it decides the next such link: before the rule that sent this one
// here (an `ask` rule would otherwise still match first); the reason when it cannot. A file that does
// not read is left as it is rather than rewritten with the one new rule.
QString remember(const QString& site, const QString& desktopId, const QString& link) {
    QString error;
    LinkRulesFile::update(
        [&](LinkRulesFile& file) {
            file.insertBefore(QUrl(link), LinkRule{site, desktopId});
            return true;
        },
        &error);
    return error;
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

LinkAsker::LinkAsker(QObject* parent) : QObject(parent) {}

LinkAsker::~LinkAsker() {
    delete picker_;
}

void LinkAsker::ask(const LinkRequest& request) {
    emit activity();
    if (request.urls.isEmpty())
        return;
    if ((asking_ && request == current_) || waiting_.contains(request))
        return;
    waiting_ << request;
    if (picker_)
        picker_->setWaiting(waiting_.size());
    if (!asking_)
        askNext();
}

void LinkAsker::askNext() {
    if (waiting_.isEmpty())
        return;
    asking_ = true;
    current_ = waiting_.takeFirst();
    // Listing reads the disk when anything changed since the menu last looked: not on this thread.
    QPointer<LinkAsker> self(this);
    QThreadPool::globalInstance()->start([self] {
        PickerChoices choices = PickerChoices::load();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, choices = std::move(choices)] {
                if (self)
                    self->present(choices);
            },
            Qt::QueuedConnection);
    });
}

void LinkAsker::present(const PickerChoices& choices) {
    choices_ = choices;
    picker_ = new LinkPicker(current_.urls, choices_, sharedSite(current_.urls));
    picker_->setAttribute(Qt::WA_DeleteOnClose);
    picker_->setWaiting(waiting_.size());
    connect(picker_, &LinkPicker::picked, this, &LinkAsker::open);
    connect(picker_, &LinkPicker::dropped, this, [this] {
        qCInfo(lcLinks, "Link dropped");
        done();
    });
    connect(picker_, &LinkPicker::drawn, this, [this] {
        qCInfo(lcLinks, "Link picker shown");
        emit pickerDrawn();
    });
    {
        // On Wayland the caller's token lets this window take the focus (Qt reads it when it asks
        // for activation); X11 window managers give it to a new dialog anyway.
        ActivationTokenScope token(onWayland() ? current_.activationToken : QByteArray());
        picker_->show();
        picker_->raise();
        picker_->activateWindow();
    }
}

void LinkAsker::open(qsizetype index, bool always) {
    const ListedBrowser& chosen = choices_.browsers.at(index);
    bool opened = false;
    {
        // Qt offers no public way to ask the compositor for a fresh token for our own window, so
        // the browser gets the one the click gave.
        ActivationTokenScope token(current_.activationToken);
        opened =
            platform::get<platform::Workspace>()->openURLsWithApplication(current_.urls, chosen.browser.url);
    }
    if (!opened) {
        picker_->showFailure(
            tr("%1 could not be started. Pick another browser.").arg(chosen.browser.appName));
        return;
    }
    QString notRemembered;
    if (always)
        if (const auto site = sharedSite(current_.urls))
            notRemembered = remember(*site, chosen.desktopId, current_.urls.first());
    picker_->finish();
    if (!notRemembered.isEmpty()) {
        auto* box = new QMessageBox(
            QMessageBox::Warning, tr("Open Link"),
            tr("The link opened in %1, but the rule could not be saved.").arg(chosen.browser.appName),
            QMessageBox::Ok);
        box->setInformativeText(notRemembered);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    }
    done();
}

void LinkAsker::done() {
    asking_ = false;
    picker_ = nullptr;
    emit activity();
    askNext();
}

} // namespace Tolvane
