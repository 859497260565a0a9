// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkAsker.h"

#include "ActivationTokenScope.h"
#include "LinkPicker.h"
#include "LinkSite.h"
#include "app/core/links/LinkRulesFile.h"
#include "platform/Services.h"
#include "platform/Workspace.h"
#include "platform/linux/tray/XdgActivation.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QThreadPool>
#include <QWindow>

#include <utility>

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
            if (const auto read = WebLink::read(link))
                file.insertBefore(*read, LinkRule{site, desktopId});
            else
                file.append(LinkRule{site, desktopId});
            return true;
        },
        &error);
    return error;
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

LinkAsker::LinkAsker(QObject* parent) : QObject(parent) {
    // A tray that ends, from its menu or at log-out, still owes the links it took.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &LinkAsker::handOver);
}

LinkAsker::~LinkAsker() {
    handOver();
    delete picker_;
}

void LinkAsker::ask(const LinkRequest& request) {
    emit activity();
    if (request.urls.isEmpty())
        return;
    // The newest click's token is the one the desktop still honours.
    if (!request.activationToken.isEmpty())
        unspentToken_ = request.activationToken;
    if (!(asking_ && request == current_) && !waiting_.contains(request))
        waiting_ << request;
    if (!asking_) {
        askNext();
        return;
    }
    if (picker_) {
        picker_->setWaiting(waitingLinks());
        // Whatever covered the picker since, a new link must not wait behind it unseen.
        bringForward();
    }
}

qsizetype LinkAsker::waitingLinks() const {
    qsizetype count = 0;
    for (const LinkRequest& request : waiting_)
        count += request.urls.size();
    return count;
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
                if (self && self->asking_ && !self->picker_)
                    self->present(choices);
            },
            Qt::QueuedConnection);
    });
}

void LinkAsker::present(const PickerChoices& choices) {
    choices_ = choices;
    picker_ = new LinkPicker(current_.urls, choices_, sharedSite(current_.urls));
    picker_->setAttribute(Qt::WA_DeleteOnClose);
    picker_->setWaiting(waitingLinks());
    connect(picker_, &LinkPicker::picked, this, &LinkAsker::open);
    connect(picker_, &LinkPicker::dropped, this, [this] {
        qCInfo(lcLinks, "Link dropped");
        done();
    });
    connect(picker_, &LinkPicker::abandoned, this, [this] {
        openInDefaultBrowser({current_});
        done();
    });
    connect(picker_, &LinkPicker::drawn, this, [this] {
        qCInfo(lcLinks, "Link picker shown");
        emit pickerDrawn();
    });
    if (onWayland() && unspentToken_.isEmpty())
        picker_->setAttribute(Qt::WA_ShowWithoutActivating);
    picker_->show();
    bringForward();
}

void LinkAsker::bringForward() {
    picker_->raise();
    if (!onWayland()) {
        // X11 window managers give the focus to a dialog that asks for it.
        picker_->activateWindow();
        return;
    }
    // On Wayland only a token from the user's click lets a window take the focus, and each serves
    // once (Qt reads it when it asks for activation). Without one Qt would ask the compositor for a
    // token of its own, and a compositor holds one token at a time: the browser just started for
    // the previous link would lose its own and stay behind.
    const QByteArray token = std::exchange(unspentToken_, QByteArray());
    if (token.isEmpty())
        return;
    ActivationTokenScope scope(token);
    picker_->activateWindow();
}

void LinkAsker::open(qsizetype index, bool always) {
    const ListedBrowser& chosen = choices_.browsers.at(index);
    bool opened = false;
    {
        // The click's token went to the picker; the browser needs one the desktop honours now.
        QByteArray token =
            onWayland() ? XdgActivation::freshToken(picker_->windowHandle(), chosen.desktopId) : QByteArray();
        if (token.isEmpty())
            token = current_.activationToken;
        ActivationTokenScope scope(token);
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

void LinkAsker::handOver() {
    QList<LinkRequest> owed = std::exchange(waiting_, {});
    if (asking_)
        owed.prepend(current_);
    asking_ = false;
    if (owed.isEmpty())
        return;
    if (picker_) {
        picker_->finish();
        delete picker_.data();
    }
    openInDefaultBrowser(owed);
}

void LinkAsker::openInDefaultBrowser(const QList<LinkRequest>& owed) {
    // Nobody is left to ask: the links go where they would have gone without a rule.
    const PickerChoices choices = choices_.browsers.isEmpty() ? PickerChoices::load() : choices_;
    const qsizetype chosen = choices.chosenIndex();
    for (const LinkRequest& request : owed) {
        if (chosen < 0) {
            qCWarning(lcLinks, "No default browser to open a waiting link in as Tolvane ends");
            continue;
        }
        ActivationTokenScope scope(request.activationToken);
        if (!platform::get<platform::Workspace>()->openURLsWithApplication(
                request.urls, choices.browsers[chosen].browser.url))
            qCWarning(lcLinks, "A waiting link could not be opened in the default browser as Tolvane ends");
        else
            qCInfo(lcLinks, "Waiting link opened in the default browser as Tolvane ends");
    }
}

} // namespace Tolvane
