// SPDX-License-Identifier: GPL-3.0-or-later
#include "RoutedHandlerService.h"

#include "RouterEntry.h"
#include "platform/Paths.h"
#include "platform/linux/applications/profiles/ProfileEntry.h"
#include "platform/linux/xdg/AtomicFile.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/FilePlan.h"
#include "platform/linux/xdg/KeyFileLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform::linux_ {
namespace {

const QString group = QStringLiteral("Links");

bool isWeb(const QString& scheme) {
    const QString lower = scheme.toLower();
    return lower == QLatin1String("http") || lower == QLatin1String("https");
}

QString withoutSuffix(QString id) {
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    return id;
}

} // namespace

RoutedHandlerService::RoutedHandlerService(std::shared_ptr<MimeAppsHandlerService> switcher,
                                           std::shared_ptr<DesktopEntryIndex> index, QString program)
    : switcher_(std::move(switcher)), index_(std::move(index)), program_(std::move(program)) {}

QString RoutedHandlerService::recordPath() {
    return platform::tolvaneConfigDir() + QStringLiteral("/links.state");
}

RoutedHandlerService::Record RoutedHandlerService::read() {
    const auto snapshot = readSnapshot(recordPath());
    if (!snapshot)
        return {};
    const KeyFileLines lines(snapshot->content);
    return Record{lines.value(group, QStringLiteral("Route")) == QLatin1String("true"),
                  lines.value(group, QStringLiteral("Chosen")).value_or(QString())};
}

bool RoutedHandlerService::write(const Record& record) {
    const auto snapshot = readSnapshot(recordPath());
    KeyFileLines lines(snapshot ? snapshot->content : QByteArray());
    lines.setValue(group, QStringLiteral("Route"),
                   record.route ? QStringLiteral("true") : QStringLiteral("false"));
    lines.setValue(group, QStringLiteral("Chosen"), record.chosen);
    QDir().mkpath(platform::tolvaneConfigDir());
    QString error;
    if (!replaceFileAtomically(recordPath(), lines.content(), &error)) {
        failureReason_ = error;
        return false;
    }
    return true;
}

int RoutedHandlerService::fail(int status, const QString& reason) {
    failureReason_ = reason;
    return status;
}

std::optional<QString> RoutedHandlerService::actualDefault() {
    return switcher_->defaultHandlerForURLScheme(QStringLiteral("https"));
}

std::optional<QString> RoutedHandlerService::defaultHandlerForURLScheme(const QString& scheme) {
    auto found = switcher_->defaultHandlerForURLScheme(scheme);
    failureReason_ = switcher_->failureReason();
    // While links go through the handler, the browser chosen is the one links go to by default.
    if (isWeb(scheme) && found == routerId) {
        const QString chosen = read().chosen;
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
    }
    return found;
}

int RoutedHandlerService::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) {
    return setDefaultHandlerForURLScheme(scheme, bundleId, QUrl());
}

int RoutedHandlerService::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                                        const QUrl& application) {
    failureReason_.clear();
    Record record = read();
    if (!isWeb(scheme) || !record.route || actualDefault() != routerId) {
        const int status = switcher_->setDefaultHandlerForURLScheme(scheme, bundleId, application);
        failureReason_ = switcher_->failureReason();
        // Chosen while another program holds the links: routing is still wanted, for this browser.
        if (status == noErr && isWeb(scheme) && record.route) {
            record.chosen = switcher_->lastSwitchedId();
            write(record);
        }
        return status;
    }
    // Links stay with the handler; pages go to the browser chosen.
    const int status = switcher_->setDefaultHandlerForWebPages(bundleId, application);
    failureReason_ = switcher_->failureReason();
    if (status != noErr)
        return status;
    record.chosen = switcher_->lastSwitchedId();
    return write(record) ? noErr : writeFailed;
}

LinkRouting::State RoutedHandlerService::state() {
    const bool routed = actualDefault() == routerId;
    if (routed)
        return State::on;
    return read().route ? State::displaced : State::off;
}

bool RoutedHandlerService::ensureRouterEntry(const QString& chosen, QString* written) {
    // What the handler's script runs once the program is gone: the chosen browser's own command.
    QString fallback;
    for (const DesktopEntryIndex::Located& file : index_->locateAll())
        if (file.id == chosen)
            if (const auto found = index_->usableEntry(file))
                if (const auto command = browserCommand(*found->entry))
                    fallback = *command;
    const bool existed = QFileInfo::exists(routerEntryPath());
    FilePlan plan;
    QString error;
    if (!planRouterFiles(plan, program_, fallback, &error) || !plan.write(replaceFileAtomically, &error)) {
        failureReason_ = error;
        return false;
    }
    plan.commit();
    if (!existed)
        *written = routerEntryPath();
    return true;
}

int RoutedHandlerService::setOn(bool on) {
    failureReason_.clear();
    Record record = read();
    const auto now = actualDefault();
    if (on) {
        if (now == routerId) {
            record.route = true;
            return write(record) ? noErr : writeFailed;
        }
        if (now)
            record.chosen = *now;
        if (record.chosen.isEmpty())
            return fail(applicationNotFound,
                        QCoreApplication::translate("Tolvane::links",
                                                    "No browser is chosen for the links no rule names."));
        QString written;
        if (!ensureRouterEntry(record.chosen, &written))
            return writeFailed;
        const int status =
            switcher_->setDefaultHandlerForURLScheme(QStringLiteral("https"), withoutSuffix(routerId));
        if (status != noErr) {
            failureReason_ = switcher_->failureReason();
            if (!written.isEmpty())
                QFile::remove(written);
            return status;
        }
        record.route = true;
        return write(record) ? noErr : writeFailed;
    }
    if (now != routerId) {
        record.route = false;
        return write(record) ? noErr : writeFailed;
    }
    if (record.chosen.isEmpty())
        return fail(applicationNotFound,
                    QCoreApplication::translate("Tolvane::links",
                                                "No browser is chosen for the links no rule names."));
    const int status =
        switcher_->setDefaultHandlerForURLScheme(QStringLiteral("https"), withoutSuffix(record.chosen));
    failureReason_ = switcher_->failureReason();
    if (status != noErr)
        return status;
    record.route = false;
    return write(record) ? noErr : writeFailed;
}

} // namespace platform::linux_
