// SPDX-License-Identifier: GPL-3.0-or-later
#include "RoutedDefaults.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>

namespace Tolvane::links {
namespace {

Q_LOGGING_CATEGORY(lcRouting, "app.tolvane.Tolvane.links")

using platform::WebDefaults;
using Links = WebDefaults::Step::Links;

QString tr(const char* text) {
    return QCoreApplication::translate("Tolvane::links", text);
}

bool isWeb(const QString& scheme) {
    const QString lower = scheme.toLower();
    return lower == QLatin1String("http") || lower == QLatin1String("https");
}

const QString linksType = QStringLiteral("x-scheme-handler/https");
const QString pagesType = QStringLiteral("text/html");

// Something other than a file in the record's place (a folder, a pipe): it cannot be replaced.
bool recordBlocked() {
    const QFileInfo file(ChosenBrowserRecord::path());
    return file.exists() && !file.isFile();
}

// The record's file as the step writes it, once the browser is known. `mayGoWithout`: when the record
// cannot be replaced the step goes on without it; the stores then say all there is (links fall back
// to the browser of web pages, which the step sets).
std::function<QList<std::pair<QString, QByteArray>>(const QString&)> recordFor(bool route,
                                                                               bool mayGoWithout = false) {
    if (mayGoWithout && recordBlocked())
        return {};
    return [route](const QString& id) {
        ChosenBrowserRecord record;
        record.route = route;
        record.chosen = id;
        return QList<std::pair<QString, QByteArray>>{{ChosenBrowserRecord::path(), record.content()}};
    };
}

} // namespace

RoutedDefaults::RoutedDefaults(std::shared_ptr<platform::HandlerService> plain,
                               std::shared_ptr<platform::WebDefaults> web, QString program)
    : plain_(std::move(plain)), web_(std::move(web)), program_(std::move(program)) {}

QString RoutedDefaults::failureReason() const {
    std::lock_guard lock(mutex_);
    return failureReason_;
}

int RoutedDefaults::fail(int status, const QString& reason) {
    failureReason_ = reason;
    return status;
}

std::optional<QString> RoutedDefaults::linksHandler() {
    return web_->handlerOf(linksType);
}

RoutedDefaults::Chosen RoutedDefaults::chosenLocked(const ChosenBrowserRecord& record) {
    if (!record.chosen.isEmpty() && web_->opensLinks(record.chosen))
        return {record.chosen, {}};
    // Pages keep their browser while links go by rules: the best stand-in for a lost choice.
    const auto pages = web_->handlerOf(pagesType);
    const QString stand =
        !record.damage.isEmpty() ? record.damage
        : record.chosen.isEmpty()
            ? tr("No browser is recorded for the links no rule names.")
            : tr("The browser \u201c%1\u201d chosen for links is no longer installed.").arg(record.chosen);
    if (pages && *pages != WebDefaults::routerId && web_->opensLinks(*pages))
        return {*pages, stand};
    return {QString(), stand};
}

std::optional<QString> RoutedDefaults::defaultHandlerForURLScheme(const QString& scheme) {
    if (!isWeb(scheme)) {
        std::lock_guard lock(mutex_);
        auto found = plain_->defaultHandlerForURLScheme(scheme);
        failureReason_ = plain_->failureReason();
        return found;
    }
    QString standIn;
    auto found = linksGoTo(&standIn);
    if (!standIn.isEmpty())
        qCWarning(lcRouting).noquote() << standIn;
    return found;
}

std::optional<QString> RoutedDefaults::linksGoTo(QString* standIn) {
    std::lock_guard lock(mutex_);
    standIn->clear();
    auto found = plain_->defaultHandlerForURLScheme(QStringLiteral("https"));
    failureReason_ = plain_->failureReason();
    // While links go through the handler, the browser chosen is the one links go to by default.
    if (found != WebDefaults::routerId)
        return found;
    const Chosen chosen = chosenLocked(ChosenBrowserRecord::read());
    *standIn = chosen.stand;
    return chosen.id.isEmpty() ? std::nullopt : std::optional<QString>(chosen.id);
}

int RoutedDefaults::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) {
    return setDefaultHandlerForURLScheme(scheme, bundleId, QUrl());
}

int RoutedDefaults::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                                  const QUrl& application) {
    std::lock_guard lock(mutex_);
    failureReason_.clear();
    if (!isWeb(scheme)) {
        const int status = plain_->setDefaultHandlerForURLScheme(scheme, bundleId, application);
        failureReason_ = plain_->failureReason();
        return status;
    }
    // Read and written under the switch's lock: two switches at once cannot leave the links with one
    // browser and the record with another.
    const auto held = web_->hold();
    if (!held)
        return fail(writeFailed, web_->failureReason());
    const ChosenBrowserRecord record = ChosenBrowserRecord::read();
    const bool routed = linksHandler() == WebDefaults::routerId;
    WebDefaults::Step step;
    step.browser = bundleId;
    step.application = application;
    if (routed) {
        // Links stay with the handler, whose entry now falls back to the new browser; pages go to it.
        step.links = Links::keep;
        step.program = program_;
        step.files = recordFor(true, true);
        const int status = web_->apply(step, nullptr);
        return status == noErr ? noErr : fail(status, web_->failureReason());
    }
    step.links = Links::toBrowser;
    // Chosen while another program holds the links: routing is still wanted, for this browser.
    if (record.route)
        step.files = recordFor(true, true);
    const int status = web_->apply(step, nullptr);
    return status == noErr ? noErr : fail(status, web_->failureReason());
}

platform::LinkRouting::State RoutedDefaults::state() {
    std::lock_guard lock(mutex_);
    if (linksHandler() == WebDefaults::routerId)
        return State::on;
    return ChosenBrowserRecord::read().route ? State::displaced : State::off;
}

int RoutedDefaults::mendHandler() {
    std::lock_guard lock(mutex_);
    if (linksHandler() != WebDefaults::routerId)
        return noErr;
    const Chosen chosen = chosenLocked(ChosenBrowserRecord::read());
    if (chosen.id.isEmpty() || web_->routerCurrent(program_, chosen.id))
        return noErr;
    qCInfo(lcRouting).noquote() << "the handler of web links is written again for" << program_;
    return setOn(true);
}

int RoutedDefaults::setOn(bool on) {
    std::lock_guard lock(mutex_);
    failureReason_.clear();
    const auto held = web_->hold();
    if (!held)
        return fail(writeFailed, web_->failureReason());
    const ChosenBrowserRecord record = ChosenBrowserRecord::read();
    const auto now = linksHandler();
    const bool routed = now == WebDefaults::routerId;
    if (!on && !routed && !record.route)
        return noErr;
    // The browser behind the handler: the one that has the links now, else the one recorded, else the
    // one that opens pages.
    Chosen chosen = !routed && now && web_->opensLinks(*now) ? Chosen{*now, {}} : chosenLocked(record);
    if (chosen.id.isEmpty() && (on || routed))
        return fail(applicationNotFound, chosen.stand.isEmpty()
                                             ? tr("No browser is chosen for the links no rule names.")
                                             : chosen.stand);
    WebDefaults::Step step;
    step.browser = chosen.id;
    if (on) {
        // Also when already on: the handler is written again for the program as it is now.
        step.links = Links::toRouter;
        step.program = program_;
        step.files = recordFor(true);
    } else if (routed) {
        step.links = Links::toBrowser;
        step.files = recordFor(false, true);
    } else {
        // Routing was wanted while another program held the links: only the wish goes.
        step.links = Links::keep;
        step.browser.clear();
        step.files = [chosen = record.chosen](const QString&) {
            ChosenBrowserRecord off;
            off.chosen = chosen;
            return QList<std::pair<QString, QByteArray>>{{ChosenBrowserRecord::path(), off.content()}};
        };
    }
    const int status = web_->apply(step, nullptr);
    return status == noErr ? noErr : fail(status, web_->failureReason());
}

} // namespace Tolvane::links
